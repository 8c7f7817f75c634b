#include <gtest/gtest.h>

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

}  // namespace
