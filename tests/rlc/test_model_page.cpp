#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "ImpedanceCurves.h"
#include "data/ApplicationData.h"
#include "data/TalDocument.h"
#include "rlc/model/CircuitKind.h"
#include "rlc/model/ModelPage.h"

using namespace rlctest;

namespace {

class ModelPageTest : public ::testing::Test {
protected:
    void SetUp() override { saved = appData(); }
    void TearDown() override { appData() = saved; }

    int Add(const std::string& name, int role, std::function<Complex(double)> z)
    {
        auto set = CurveSet(LogFrequencies(10, 1e5, 20), z);
        set->m_name = name;
        set->m_calibrationRole = role;
        return doc.AddDataSet(std::move(set));
    }

    ApplicationData saved;
    CTalDocument doc;
    ModelPage page;
};

const auto kInductor = [](double w) { return Complex(0, w * 1e-3); };

TEST_F(ModelPageTest, ListShowsNumbersAndNamesAndPrefersTheCorrectedSet)
{
    Add("Open circuit", 1, kInductor);
    Add("", 4, kInductor);
    Add("C12(w/o parasitics)", 5, kInductor);
    Add("later", 0, kInductor);
    doc.DeleteDataSet(0);  // numbers stay: 2, 3, 4
    EXPECT_EQ(ModelPage::DataSetEntries(doc),
              (std::vector<std::string>{"2", "3_C12(w/o parasitics)", "4_later"}));

    page.RefillDataSetList(doc);
    EXPECT_EQ(page.SelectedPosition(), 1);  // the last role-5 set
    page.ChooseDataSet(2, doc);
    EXPECT_EQ(page.m_lastDataSetChoice, 2);
    doc.DeleteDataSet(2);
    page.RefillDataSetList(doc);
    EXPECT_EQ(page.SelectedPosition(), 1);  // the user's choice, limited to the last entry

    ModelPage fresh;
    CTalDocument plain;
    fresh.RefillDataSetList(plain);
    EXPECT_EQ(fresh.SelectedPosition(), -1);
    plain.AddDataSet(CurveSet({1, 2}, kInductor));
    plain.AddDataSet(CurveSet({1, 2}, kInductor));
    fresh.RefillDataSetList(plain);
    EXPECT_EQ(fresh.SelectedPosition(), 0);  // no role 5: the first entry
}

TEST_F(ModelPageTest, FitWritesThreeDigitsAndNAForMissingValues)
{
    Add("L1", 5, [](double w) { return Complex(0.5, w * 1.2345e-3); });
    page.ChooseKind(KIND_R_PLUS_L, doc);
    EXPECT_EQ(page.m_r.text, "500 m");
    EXPECT_EQ(page.m_second.text, "1.23 m");
    EXPECT_NEAR(page.m_second.value, 1.2345e-3, 1e-12);  // the value keeps its digits
    EXPECT_EQ(page.m_c.text, "");                          // not used by R + L

    // No phase zero crossing: every field of R + L + C shows "N/A" and stands for unknown.
    page.ChooseKind(KIND_R_PLUS_L_PLUS_C, doc);
    for (const ModelValueField* f : {&page.m_r, &page.m_second, &page.m_c}) {
        EXPECT_EQ(f->text, "N/A");
        EXPECT_EQ(f->value, -1);
    }
    EXPECT_EQ(page.CreatePlot(doc), -1);  // unknown values are negative: no plot

    ModelPage::CommitText(page.m_second, "2.2m");
    EXPECT_DOUBLE_EQ(page.m_second.value, 2.2e-3);
    EXPECT_EQ(page.m_second.text, "2.2 m");
    ModelPage::CommitText(page.m_r, "1");
    ModelPage::CommitText(page.m_c, "1u");
    const int plot = page.CreatePlot(doc);
    ASSERT_EQ(plot, 1);
    EXPECT_EQ(doc.GetDataSetName(plot), "Model (R + L + C)");
}

TEST_F(ModelPageTest, NothingHappensWithoutKindOrData)
{
    page.ChooseKind(KIND_R, doc);  // empty document
    EXPECT_EQ(page.m_r.text, "");
    EXPECT_EQ(page.CreatePlot(doc), -1);

    doc.AddDataSet(std::make_unique<CDataSet>());  // a set without points: no fit
    page.ChooseDataSet(0, doc);
    EXPECT_EQ(page.m_r.text, "");

    ModelPage noKind;
    Add("R", 0, [](double) { return Complex(100, 0); });
    noKind.ChooseDataSet(1, doc);
    EXPECT_EQ(noKind.m_r.text, "");
    EXPECT_EQ(noKind.CreatePlot(doc), -1);
}

// "Refine" puts the least-squares values into the fields; "Best Fit" also picks the kind. A
// value the user types, or a new estimate, ends the refinement.
TEST_F(ModelPageTest, RefineAndBestFitFillTheFieldsWithTheRefinedValues)
{
    const ModelValues truth{10, 1e-3, 1e-6};
    Add("tank", 5, [&](double w) { return IdealImpedance(KIND_R_PLUS_L_PAR_C, truth, w); });
    page.ChooseKind(KIND_R_PLUS_L_PAR_C, doc);
    EXPECT_FALSE(page.Refinement().has_value());
    const ModelValues estimate = page.Values();
    EXPECT_GT(std::fabs(estimate.c / truth.c - 1), 1e-3);  // the two-point rule is off

    page.Refine(doc);
    ASSERT_TRUE(page.Refinement().has_value());
    EXPECT_TRUE(page.Refinement()->converged);
    EXPECT_NEAR(page.m_c.value / truth.c, 1, 1e-6);
    EXPECT_EQ(page.m_c.text, "1 u");
    EXPECT_EQ(page.m_second.text, "1 m");
    EXPECT_TRUE(page.m_r.refined && page.m_second.refined && page.m_c.refined);

    page.Commit(page.m_r, "12");
    EXPECT_FALSE(page.Refinement().has_value());
    EXPECT_FALSE(page.m_second.refined);
    page.Refine(doc);
    page.ChooseDataSet(0, doc);  // a new estimate
    EXPECT_FALSE(page.Refinement().has_value());
    EXPECT_FALSE(page.m_c.refined);

    ModelPage fresh;  // no kind and no data set chosen: the list's default set is taken
    fresh.BestFit(doc);
    EXPECT_EQ(fresh.Kind(), KIND_R_PLUS_L_PAR_C);
    EXPECT_EQ(fresh.SelectedPosition(), 0);
    ASSERT_TRUE(fresh.Refinement().has_value());
    EXPECT_NEAR(fresh.m_second.value / truth.second, 1, 1e-6);

    page.ChooseKind(KIND_R, doc);
    page.BestFit(doc);
    EXPECT_EQ(page.Kind(), KIND_R_PLUS_L_PAR_C);
    EXPECT_EQ(page.m_c.text, "1 u");
}

}  // namespace
