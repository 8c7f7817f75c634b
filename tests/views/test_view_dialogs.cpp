// The "Math" dialog, the engineering entry field, the wide-curve rasterizer and printing.
#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QVBoxLayout>
#include <filesystem>
#include <gtest/gtest.h>
#include <unistd.h>

#include "ViewTestSupport.h"
#include "data/ApplicationData.h"
#include "data/ScriptedPrompter.h"
#include "views/base/ThickLineRasterizer.h"
#include "views/base/ViewHooks.h"
#include "views/dialogs/EditComponent.h"
#include "views/dialogs/MathImpDialog.h"
#include "views/gain/TalViewGain.h"
#include "views/imp/TalViewImp.h"

using namespace viewtest;

namespace {

TEST(MathFormula, EveryOperationWithItsOperands)
{
    const std::pair<int, const char*> cases[] = {
        {0, "Z = Z1 + 2"},
        {1, "Z = Z1 - 2"},
        {2, "Z = Z1 x 2"},
        {3, "Z = Z1 / 2"},
        {4, "Z = 1 / (1/Z1 + 1/2)"},
        {5, "Z = 1 / (1/Z1 - 1/2)"},
        {6, "T = 2 / (Z1 + 2)"},
    };
    for (const auto& [entry, expected] : cases)
        EXPECT_EQ(MathImpDialog::Formula(entry, "Z1", "2"), expected);
    EXPECT_EQ(MathImpDialog::ListEntry(3, ""), "3");
    EXPECT_EQ(MathImpDialog::ListEntry(3, "open"), "3: open");
}

struct MathFixture : ::testing::Test {
    ScriptedPrompter prompts;
    CTalDocument doc;
    std::unique_ptr<CTalViewImp> view;
    void SetUp() override
    {
        SetPrompter(&prompts);
        appData().mathScaleFactor = 1.0;
        doc.AddDataSet(MakeImpedanceSet({{10, 100, 0}, {1000, 100, 0}}));
        doc.AddDataSet(MakeImpedanceSet({{10, 100, 0}, {1000, 100, 0}}));
        view = std::make_unique<CTalViewImp>(&doc, nullptr);
    }
    void TearDown() override
    {
        view.reset();
        SetPrompter(nullptr);
        SetNewDisplayWindowHook(nullptr);
    }
};

TEST_F(MathFixture, CreateAddsTheNamedResultAndKeepsTheDialogOpen)
{
    MathImpDialog dialog(&doc, view.get());
    ASSERT_EQ(dialog.operation()->count(), 7);
    dialog.operation()->setCurrentIndex(4);  // Add in parallel
    dialog.datasetList(1)->setCurrentRow(1);
    EXPECT_EQ(dialog.FormulaText(), QStringLiteral("Z = 1 / (1/Z1 + 1/Z2)"));
    prompts.textAnswers = {std::string("parallel")};
    dialog.OnCreate();
    ASSERT_EQ(doc.GetDataSetCount(), 3);
    EXPECT_EQ(doc.GetDataSetName(2), "parallel");
    EXPECT_NEAR(doc.GetGain(2, 0), 50, 1e-9);
    EXPECT_EQ(dialog.datasetList(0)->count(), 3);
    EXPECT_EQ(dialog.datasetList(0)->item(2)->text(), QStringLiteral("3: parallel"));
    EXPECT_EQ(dialog.datasetList(1)->currentRow(), 1) << "lists keep their positions";
}

TEST_F(MathFixture, ScalarOperandAndScaleFactor)
{
    MathImpDialog dialog(&doc, view.get());
    dialog.operation()->setCurrentIndex(2);  // Multiply
    dialog.scalarRadio(1)->setChecked(true);
    EXPECT_TRUE(dialog.scalarBox(1)->isEnabled());
    dialog.scalarBox(1)->SetValue(3, 4);
    EXPECT_EQ(dialog.FormulaText(), QStringLiteral("Z = Z1 x 3"));
    dialog.scaleFactorBox()->SetValue(2, 4);
    dialog.OnCreate();  // the name prompt is cancelled: an empty name
    ASSERT_EQ(doc.GetDataSetCount(), 3);
    EXPECT_EQ(doc.GetDataSetName(2), "");
    EXPECT_DOUBLE_EQ(appData().mathScaleFactor, 2);
    // The constant reads 3 x 2 and the result again carries the factor: 100 x 6 x 2.
    EXPECT_NEAR(doc.GetGain(2, 0), 1200, 1e-6);
}

TEST_F(MathFixture, TransferFunctionOpensAWindowShowingOnlyTheResult)
{
    std::unique_ptr<CTalViewGain> window;
    SetNewDisplayWindowHook([&window](CTalDocument* d, CTalView*) {
        window = std::make_unique<CTalViewGain>(d, nullptr);
        return window.get();
    });
    MathImpDialog dialog(&doc, view.get());
    dialog.operation()->setCurrentIndex(6);
    dialog.datasetList(1)->setCurrentRow(1);
    dialog.OnCreate();
    ASSERT_EQ(doc.GetDataSetCount(), 3);
    EXPECT_EQ(doc.GetDataSetNumber(2), 4) << "the intermediate sum took a number";
    EXPECT_NEAR(doc.GetGain(2, 0), 0.5, 1e-9);
    ASSERT_TRUE(window);
    EXPECT_FALSE(window->Fields().attribs[0].visible);
    EXPECT_FALSE(window->Fields().attribs[1].visible);
    EXPECT_TRUE(window->Fields().attribs[2].visible);
    EXPECT_FALSE(view->Fields().attribs[2].visible);
    EXPECT_TRUE(view->Fields().attribs[0].visible);
}

TEST(MathDialog, WithoutDataNothingIsComputed)
{
    CTalDocument doc;
    MathImpDialog dialog(&doc, nullptr);
    EXPECT_EQ(dialog.operation()->count(), 0);
    dialog.OnCreate();
    EXPECT_EQ(doc.GetDataSetCount(), 0);
}

TEST(EditComponent, CommitsTypedTextOnFocusLossAndEnterWithoutPressingTheDefaultButton)
{
    QDialog dialog;
    auto* layout = new QVBoxLayout(&dialog);
    auto* field = new CEditComponent(&dialog);
    auto* other = new CEditComponent(&dialog);
    auto* button = new QPushButton(QStringLiteral("Create"), &dialog);
    button->setDefault(true);
    layout->addWidget(field);
    layout->addWidget(other);
    layout->addWidget(button);
    int pressed = 0;
    QObject::connect(button, &QPushButton::clicked, [&pressed] { ++pressed; });
    dialog.show();
    field->SetValue(1234.56, 4);
    EXPECT_EQ(field->text(), QStringLiteral("1.235 k"));
    // Leaving an untouched field keeps the value exactly.
    field->Commit();
    EXPECT_DOUBLE_EQ(field->GetValue(), 1234.56);
    field->setFocus();
    field->selectAll();
    QTest::keyClicks(field, QStringLiteral("10 k"));
    EXPECT_DOUBLE_EQ(field->GetValue(), 1234.56) << "typing alone does not change the value";
    QTest::keyClick(field, Qt::Key_Return);
    EXPECT_DOUBLE_EQ(field->GetValue(), 10000);
    EXPECT_EQ(field->text(), QStringLiteral("10 k"));
    EXPECT_EQ(pressed, 0);
    field->selectAll();
    QTest::keyClicks(field, QStringLiteral("xyz"));
    field->Commit();
    EXPECT_EQ(field->GetValue(), 0);
    EXPECT_EQ(field->text(), QStringLiteral("0"));
}

TEST(ThickLineRasterizer, WidthsRoundEndsAndClip)
{
    QImage image(100, 100, QImage::Format_ARGB32_Premultiplied);
    const auto count = [&image](int y) {
        int n = 0;
        for (int x = 0; x < image.width(); ++x)
            n += (image.pixel(x, y) & 0xFFFFFF) == 0xFF0000;
        return n;
    };
    for (int width : {1, 2, 4, 5}) {
        image.fill(Qt::white);
        {
            ThickLineRasterizer raster(image, image.rect(), qRgb(255, 0, 0), width);
            raster.Segment(QPoint(50, 20), QPoint(50, 80));
        }
        EXPECT_EQ(count(50), width) << width;
        EXPECT_EQ(count(20), width) << "round end keeps the width at the end point";
        EXPECT_EQ(count(20 - width / 2 - 1), 0);
    }
    // A horizontal line is as high as the width, and nothing is written outside the clip.
    image.fill(Qt::white);
    {
        ThickLineRasterizer raster(image, QRect(0, 0, 60, 100), qRgb(255, 0, 0), 4);
        raster.Segment(QPoint(10, 40), QPoint(90, 40));
        raster.Segment(QPoint(10, 10), QPoint(40, 30));  // a slanted one has no gaps
    }
    EXPECT_EQ(count(40), 60 - 8);
    int column = 0;
    for (int y = 36; y <= 44; ++y)
        column += (image.pixel(30, y) & 0xFFFFFF) == 0xFF0000;
    EXPECT_EQ(column, 4);
    for (int x = 15; x < 36; ++x) {
        int inked = 0;
        for (int y = 0; y < 40; ++y)
            inked += (image.pixel(x, y) & 0xFFFFFF) == 0xFF0000;
        EXPECT_GE(inked, 3) << x;
    }
}

TEST(Printing, DisplayPrintsToAPdfFile)
{
    CTalDocument doc;
    doc.AddDataSet(MakeGainSet({{10, 0, 0}, {1000, -20, -90}}));
    CTalViewGain view(&doc, nullptr);
    view.resize(600, 400);
    view.OnInitialUpdate();
    const std::string path =
        (std::filesystem::temp_directory_path() / ("talvern-print-" + std::to_string(getpid()) + ".pdf")).string();
    ASSERT_TRUE(view.PrintToFile(path));
    QFile file(QString::fromStdString(path));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.read(5).startsWith("%PDF"));
    EXPECT_GT(file.size(), 1000);
    file.close();
    std::filesystem::remove(path);
}

}  // namespace
