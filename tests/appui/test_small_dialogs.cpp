// The three-button prompt and the one-line text prompt other parts use.
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "AppUiSupport.h"
#include <QPageLayout>
#include <QPageSize>

#include "app/application/PageSetupDialog.h"
#include "app/core/ApplicationValues.h"
#include "app/dialogs/MessageBox3Buttons.h"
#include "app/dialogs/TextInputDialog.h"
#include "app/platform/QtPrompter.h"

TEST(MessageBox3Buttons, ButtonsEndItWithTheirNumberAndEscapeWithTwo)
{
    struct Case {
        int iconKind;
        int defaultButton;
        int press;  // 1-3, or 0 for Escape
        int result;
        bool iconShown;
        int defaultShown;
    };
    const Case cases[] = {
        {16, 1, 1, 1, true, 1}, {32, 2, 2, 2, true, 2}, {48, 3, 3, 3, true, 3},
        {64, 9, 0, 2, true, 1}, {0, 2, 0, 2, false, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.iconKind);
        MessageBox3Buttons box("Keep the calibration?\r\nIt is older than a day.", "Calibration", c.iconKind,
                               c.defaultButton, "Keep", "Redo", "Cancel");
        EXPECT_EQ(box.windowTitle().toStdString(), "Calibration");
        EXPECT_EQ(box.findChild<QLabel*>(QStringLiteral("message"))->text().toStdString(),
                  "Keep the calibration?\nIt is older than a day.");
        EXPECT_EQ(box.Button(2)->text().toStdString(), "Redo");
        EXPECT_TRUE(box.Button(c.defaultShown)->isDefault());
        ModalWatcher press([&c](QWidget* modal) {
            auto* dialog = static_cast<MessageBox3Buttons*>(modal);
            if (c.press == 0)
                QTest::keyClick(dialog, Qt::Key_Escape);
            else
                dialog->Button(c.press)->click();
        });
        EXPECT_EQ(box.Run(), c.result);
        EXPECT_EQ(!box.findChild<QLabel*>(QStringLiteral("icon"))->isHidden(), c.iconShown);
    }
}

TEST(TextInputDialog, OkReturnsTheTextAndEscapeTheEmptyOne)
{
    {
        TextInputDialog dialog("Name of the fixture:");
        EXPECT_TRUE(dialog.windowTitle().isEmpty());
        ModalWatcher type([](QWidget* modal) {
            auto* input = static_cast<TextInputDialog*>(modal);
            input->Edit()->setText(QStringLiteral("Fixture A"));
            QTest::keyClick(input->Edit(), Qt::Key_Return);
        });
        EXPECT_TRUE(dialog.Run());
        EXPECT_EQ(dialog.Text(), "Fixture A");
    }
    {
        TextInputDialog dialog("Name of the fixture:");
        ModalWatcher escape([](QWidget* modal) {
            auto* input = static_cast<TextInputDialog*>(modal);
            input->Edit()->setText(QStringLiteral("typed"));
            QTest::keyClick(input, Qt::Key_Escape);
        });
        EXPECT_FALSE(dialog.Run());
        EXPECT_EQ(dialog.Text(), "");
    }
    EXPECT_EQ(QtFileFilter("Talvern Files (*.tal)|*.tal|All Files (*.*)|*.*||"),
              "Talvern Files (*.tal);;All Files (*.*)");
}

TEST(PageSetup, OkKeepsTheStoredMinimumMarginsWhenThePrinterReportsNone)
{
    // A printer without an unprintable border (a PDF writer, no printer at all): the margins and
    // orientation are taken, the stored minimum margins stay.
    PageSetup page;
    const QPageLayout borderless(QPageSize(QPageSize::Letter), QPageLayout::Portrait, QMarginsF(0.5, 0.75, 1.0, 1.25),
                                 QPageLayout::Inch);
    TakePageLayout(page, borderless);
    EXPECT_EQ(page.marginLeft, 500);
    EXPECT_EQ(page.marginTop, 750);
    EXPECT_EQ(page.marginRight, 1000);
    EXPECT_EQ(page.marginBottom, 1250);
    EXPECT_EQ(page.orientation, 1);
    EXPECT_EQ(page.minMarginLeft, 40);
    EXPECT_EQ(page.minMarginTop, 250);
    EXPECT_EQ(page.minMarginRight, 586);
    EXPECT_EQ(page.minMarginBottom, 250);

    // A printer that reports its border replaces them.
    const QPageLayout printer(QPageSize(QPageSize::Letter), QPageLayout::Landscape, QMarginsF(1, 1, 1, 1),
                              QPageLayout::Millimeter, QMarginsF(2.54, 5.08, 2.54, 5.08));
    TakePageLayout(page, printer);
    EXPECT_EQ(page.minMarginLeft, 100);
    EXPECT_EQ(page.minMarginTop, 200);
    EXPECT_EQ(page.orientation, 2);
}
