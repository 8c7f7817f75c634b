// Pictures of displays through libjpeg and the mail hand-over.
#include <QDir>
#include <QFile>
#include <QImage>
#include <QRadioButton>
#include <QSlider>
#include <QTemporaryDir>
#include <cstdio>
#include <gtest/gtest.h>

extern "C" {
#include <jpeglib.h>
}

#include "ViewTestSupport.h"
#include "data/ScriptedPrompter.h"
#include "views/command/CommandIds.h"
#include "views/mail/DisplayMail.h"
#include "views/mail/Mail.h"
#include "views/mail/MailPlotAsDialog.h"
#include "views/gain/TalViewGain.h"
#include "views/imp/TalViewImp.h"
#include "views/nyq/TalViewNyq.h"
#include "views/text/TalViewText.h"
#include "views/picture/DisplayPicture.h"
#include "views/picture/JpegQualityDialog.h"
#include "views/picture/JpegWriter.h"

using namespace viewtest;

namespace {

struct JpegHeader {
    int width = 0, height = 0, components = 0;
    int densityUnit = -1, xDensity = 0, yDensity = 0;
};

// Decodes the file's header and all its rows; nothing when it is not a whole JPEG.
std::optional<JpegHeader> DecodeJpeg(const std::string& path)
{
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return std::nullopt;
    jpeg_decompress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&info);
    jpeg_stdio_src(&info, file);
    jpeg_read_header(&info, TRUE);
    JpegHeader header{int(info.image_width), int(info.image_height), info.num_components,
                      info.density_unit, info.X_density, info.Y_density};
    jpeg_start_decompress(&info);
    std::vector<JSAMPLE> row(size_t(info.output_width) * info.output_components);
    while (info.output_scanline < info.output_height) {
        JSAMPROW p = row.data();
        jpeg_read_scanlines(&info, &p, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    std::fclose(file);
    return header;
}

std::vector<uint8_t> Gradient(int width, int height)
{
    std::vector<uint8_t> rows(size_t(width) * height * 3);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            uint8_t* p = &rows[(size_t(y) * width + x) * 3];
            p[0] = uint8_t(x), p[1] = uint8_t(y), p[2] = uint8_t(x + y);
        }
    return rows;
}

TEST(JpegWriter, WritesTheSizeAt72DpiForLowAndHighQuality)
{
    QTemporaryDir dir;
    for (int quality : {10, 100}) {
        const std::string path = dir.filePath(QString("q%1.jpg").arg(quality)).toStdString();
        ASSERT_TRUE(WriteJpegFile(Gradient(800, 600), 800, 600, quality, path));
        const auto header = DecodeJpeg(path);
        ASSERT_TRUE(header) << quality;
        EXPECT_EQ(header->width, 800);
        EXPECT_EQ(header->height, 600);
        EXPECT_EQ(header->components, 3);
        EXPECT_EQ(header->densityUnit, 1);
        EXPECT_EQ(header->xDensity, 72);
        EXPECT_EQ(header->yDensity, 72);
    }
    // Higher quality keeps more.
    EXPECT_GT(QFileInfo(dir.filePath("q100.jpg")).size(), QFileInfo(dir.filePath("q10.jpg")).size());
}

TEST(JpegWriter, RefusesWhatItCannotWrite)
{
    QTemporaryDir dir;
    const std::string path = dir.filePath("x.jpg").toStdString();
    const auto rows = Gradient(8, 8);
    struct Case {
        std::vector<uint8_t> rows;
        int width, height, quality;
        std::string path;
    } cases[] = {
        {rows, 8, 8, 70, ""},
        {{}, 8, 8, 70, path},
        {rows, 0, 8, 70, path},
        {rows, 8, -1, 70, path},
        {rows, 8, 8, 101, path},
        {rows, 8, 9, 70, path},  // fewer bytes than the rows need
        {rows, 8, 8, 70, dir.filePath("missing/x.jpg").toStdString()},
    };
    for (const Case& c : cases) {
        EXPECT_FALSE(WriteJpegFile(c.rows, c.width, c.height, c.quality, c.path)) << c.width << "x" << c.height;
        EXPECT_FALSE(QFile::exists(QString::fromStdString(path)));
    }
    // A write that fails during compression returns instead of ending the program.
    if (QFile::exists("/dev/full")) {
        EXPECT_FALSE(WriteJpegFile(Gradient(64, 64), 64, 64, 70, "/dev/full"));
    }
}

TEST(JpegQualityDialog, SliderFrom10To100StartingAt70)
{
    OJpgQualityDlg dialog;
    EXPECT_EQ(dialog.windowTitle(), "Jpeg Quality");
    EXPECT_EQ(dialog.Quality(), 70);
    dialog.Slider()->setValue(3);
    EXPECT_EQ(dialog.Quality(), 10);
    dialog.Slider()->setValue(250);
    EXPECT_EQ(dialog.Quality(), 100);
    OJpgQualityDlg again;
    EXPECT_EQ(again.Quality(), 70);
}

TEST(MailPlotAs, JpegChosenAtOpening)
{
    OMailPlotAs dialog;
    EXPECT_EQ(dialog.windowTitle(), "Mail As");
    EXPECT_EQ(dialog.Choice(), 0);
    dialog.TalFileButton()->setChecked(true);
    EXPECT_EQ(dialog.Choice(), 1);
}

struct DisplayOutput : ::testing::Test {
    ScriptedPrompter prompts;
    CTalDocument doc;
    std::unique_ptr<CTalViewNyq> view;
    QTemporaryDir dir;
    int qualityAsked = 0;

    void SetUp() override
    {
        SetPrompter(&prompts);
        doc.AddDataSet(MakeImpedanceSet({{100, 40, -60}, {1000, 60, -30}, {10000, 80, 0}}));
        view = std::make_unique<CTalViewNyq>(&doc, nullptr);
        view->resize(800, 600);
        view->OnInitialUpdate();
    }
    void TearDown() override
    {
        SetJpegQualityHook({});
        SetMailFormatHook({});
        OMail::SetMailProgram("");
        view.reset();
        SetPrompter(nullptr);
    }
    void Quality(std::optional<int> quality)
    {
        SetJpegQualityHook([this, quality](CTalView&) {
            ++qualityAsked;
            return quality;
        });
    }
    // A stand-in mail program that records its arguments and ends with `code`.
    std::string FakeMail(int code)
    {
        const QString script = dir.filePath("mail.sh");
        QFile file(script);
        file.open(QIODevice::WriteOnly);
        file.write(QString("#!/bin/sh\nprintf '%s\\n' \"$@\" > '%1'\nexit %2\n").arg(dir.filePath("args")).arg(code).toUtf8());
        file.close();
        file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        OMail::SetMailProgram(script.toStdString());
        return dir.filePath("args").toStdString();
    }
    QStringList Args(const std::string& path)
    {
        QFile file(QString::fromStdString(path));
        file.open(QIODevice::ReadOnly);
        return QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
    }
};

TEST_F(DisplayOutput, PictureOfTheClientSizeMatchesThePrintedDrawing)
{
    Quality(100);
    const std::string path = dir.filePath("display.jpg").toStdString();
    ASSERT_TRUE(SaveDisplayAsJpeg(*view, path));
    const auto header = DecodeJpeg(path);
    ASSERT_TRUE(header);
    EXPECT_EQ(header->width, 800);
    EXPECT_EQ(header->height, 600);
    EXPECT_EQ(header->xDensity, 72);
    // The decoded picture is the display drawn as on paper, up to compression.
    const QImage decoded(QString::fromStdString(path));
    const QImage drawn = view->RenderPicture().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(decoded.size(), drawn.size());
    long long difference = 0;
    for (int y = 0; y < drawn.height(); y += 7)
        for (int x = 0; x < drawn.width(); x += 7)
            difference += std::abs(qGray(decoded.pixel(x, y)) - qGray(drawn.pixel(x, y)));
    EXPECT_LT(difference / ((drawn.height() / 7) * (drawn.width() / 7)), 8);
}

TEST_F(DisplayOutput, CancelledQualityWritesNothing)
{
    Quality(std::nullopt);
    const std::string path = dir.filePath("none.jpg").toStdString();
    EXPECT_FALSE(SaveDisplayAsJpeg(*view, path));
    EXPECT_FALSE(QFile::exists(QString::fromStdString(path)));
}

TEST_F(DisplayOutput, SaveToJpgAsksForTheFileThenTheQuality)
{
    Quality(40);
    const std::string path = dir.filePath("chosen.jpg").toStdString();
    prompts.fileAnswers = {path, std::nullopt};
    view->OnCommand(cmd::SaveToJpg);
    EXPECT_TRUE(QFile::exists(QString::fromStdString(path)));
    view->OnCommand(cmd::SaveToJpg);  // cancelled chooser: no quality asked
    EXPECT_EQ(qualityAsked, 1);
}

TEST(MailPicturePath, TitleWithoutItsTalExtension)
{
    EXPECT_EQ(MailPicturePath("/tmp", "Sweep.TAL"), "/tmp/Sweep.jpg");
    EXPECT_EQ(MailPicturePath("/tmp/", "Imp1"), "/tmp/Imp1.jpg");
    EXPECT_EQ(MailPicturePath("/tmp", "a.tal.tal"), "/tmp/a.tal.jpg");
}

TEST_F(DisplayOutput, MailToSendsThePictureAsAttachment)
{
    Quality(70);
    SetMailFormatHook([](CTalView&) { return std::optional<int>(0); });
    doc.m_title = "Sweep.TAL";
    const std::string args = FakeMail(0);
    view->OnCommand(cmd::MailTo);
    const QString picture = QDir::tempPath() + "/Sweep.jpg";
    EXPECT_EQ(Args(args), QStringList({"--attach", picture}));
    EXPECT_TRUE(QFile::exists(picture));
    QFile::remove(picture);
    EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(DisplayOutput, MailToWithCancelledQualitySendsNothing)
{
    Quality(std::nullopt);
    SetMailFormatHook([](CTalView&) { return std::optional<int>(0); });
    const std::string args = FakeMail(0);
    view->OnCommand(cmd::MailTo);
    EXPECT_FALSE(QFile::exists(QString::fromStdString(args)));
}

TEST_F(DisplayOutput, MailFailuresShowTheirTexts)
{
    struct Case {
        int format;
        std::optional<int> exitCode;  // none: the program does not exist
        std::string text;
    } cases[] = {
        {0, std::nullopt, "Unable to load mail system support."},
        {0, 3, "Unable to load mail system support."},
        {0, 4, "Error in Sending Mail!"},
        {1, 4, "Send Mail failed to send message."},
        {1, 0, ""},
    };
    Quality(70);
    for (const Case& c : cases) {
        prompts.shown.clear();
        SetMailFormatHook([format = c.format](CTalView&) { return std::optional<int>(format); });
        if (c.exitCode)
            FakeMail(*c.exitCode);
        else
            OMail::SetMailProgram(dir.filePath("no-such-mailer").toStdString());
        view->OnCommand(cmd::MailTo);
        if (c.text.empty()) {
            EXPECT_TRUE(prompts.shown.empty());
        } else {
            ASSERT_EQ(prompts.shown.size(), 1u) << c.text;
            EXPECT_EQ(prompts.shown[0].text, c.text);
        }
    }
}

TEST_F(DisplayOutput, DocumentMailUsesItsOwnFileOrASavedCopy)
{
    const std::string args = FakeMail(0);
    const std::string own = dir.filePath("Own.tal").toStdString();
    std::string error;
    ASSERT_TRUE(doc.SaveToFile(own, error));
    doc.m_pathName = own;
    doc.SetModifiedFlag(false);
    ASSERT_TRUE(MailDocument(doc));
    EXPECT_EQ(Args(args), QStringList({"--attach", QString::fromStdString(own)}));

    doc.SetModifiedFlag(true);
    ASSERT_TRUE(MailDocument(doc));
    const QStringList copy = Args(args);
    ASSERT_EQ(copy.size(), 2);
    EXPECT_NE(copy[1], QString::fromStdString(own));
    EXPECT_TRUE(copy[1].endsWith("/Own.tal"));
    EXPECT_TRUE(QFile::exists(copy[1]));
    QDir(QFileInfo(copy[1]).path()).removeRecursively();
    EXPECT_TRUE(doc.IsModified());
}

TEST(OMail, ArgumentsOfAMessage)
{
    OMail mail;
    mail.AddRecipient("A", "a@example.org");
    mail.AddRecipient("B", "b@example.org", true);
    mail.AddAttachment("/tmp/x.jpg");
    mail.SetNoteText("hello");
    const std::vector<std::string> expected = {"--subject", "None", "--body", "hello", "--attach", "/tmp/x.jpg",
                                               "--cc", "b@example.org", "a@example.org"};
    EXPECT_EQ(mail.Arguments(), expected);
}

}  // namespace

// Save To JPG belongs to the graph displays; Mail To to every display, the text display
// mailing the picture of what it shows.
TEST(DisplayOutputCommands, EveryDisplayKindMailsAndGraphDisplaysSavePictures)
{
    ScriptedPrompter prompts;
    SetPrompter(&prompts);
    QTemporaryDir dir;
    CTalDocument doc;
    doc.AddDataSet(MakeImpedanceSet({{100, 40, -60}, {1000, 60, -30}}));
    SetJpegQualityHook([](CTalView&) { return std::optional<int>(80); });
    for (DisplayKind kind : {DisplayKind::Gain, DisplayKind::Imp, DisplayKind::Nyq, DisplayKind::Text}) {
        SCOPED_TRACE(int(kind));
        std::unique_ptr<CTalView> view;
        switch (kind) {
        case DisplayKind::Gain: view = std::make_unique<CTalViewGain>(&doc, nullptr); break;
        case DisplayKind::Imp: view = std::make_unique<CTalViewImp>(&doc, nullptr); break;
        case DisplayKind::Nyq: view = std::make_unique<CTalViewNyq>(&doc, nullptr); break;
        default: view = std::make_unique<CTalViewText>(&doc, nullptr); break;
        }
        view->resize(640, 480);
        view->OnInitialUpdate();
        CommandUi ui;
        const bool graph = kind != DisplayKind::Text;
        EXPECT_EQ(view->OnUpdateCommand(cmd::SaveToJpg, ui), graph);
        ASSERT_TRUE(view->OnUpdateCommand(cmd::MailTo, ui));
        EXPECT_TRUE(ui.enabled);
        const std::string path = dir.filePath(QString("display%1.jpg").arg(int(kind))).toStdString();
        if (graph) {
            prompts.fileAnswers = {path};
            EXPECT_TRUE(view->OnCommand(cmd::SaveToJpg));
        } else {
            EXPECT_TRUE(SaveDisplayAsJpeg(*view, path));
        }
        const auto header = DecodeJpeg(path);
        ASSERT_TRUE(header);
        EXPECT_EQ(header->width, 640);
        EXPECT_EQ(header->height, 480);
    }
    SetJpegQualityHook({});
    SetPrompter(nullptr);
}
