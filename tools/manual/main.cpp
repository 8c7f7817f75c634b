// talvern-manual GUIDE.html MANUAL.pdf: prints the HTML user guide, with its pictures, to an A4
// PDF with page numbers. The build uses it to make "RLC Manual.pdf" beside the program; it runs
// on Qt's offscreen platform, so no display is needed.
#include <QAbstractTextDocumentLayout>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QUrl>

#include <iostream>
#include <vector>

namespace {

constexpr qint64 kMaxGuideBytes = 4 * 1024 * 1024;
// Widest picture on the page, in the layout's pixels: A4 less the 2 cm margins is about 640.
constexpr double kMaxPictureWidth = 600.0;
constexpr int kLayoutDpi = 96;

bool ReadGuide(const QString& path, QString& html)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxGuideBytes)
        return false;
    html = QString::fromUtf8(file.readAll());
    return true;
}

// Screenshots are wider than a page: scale each picture down to the page, keeping its shape.
// Returns the pictures that could not be loaded, so the build fails rather than print a gap.
QStringList FitPictures(QTextDocument& document)
{
    QStringList missing;
    struct Fit {
        int position;
        int length;
        QTextImageFormat format;
    };
    std::vector<Fit> fits;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.charFormat().isImageFormat())
                continue;
            QTextImageFormat format = fragment.charFormat().toImageFormat();
            const QVariant resource = document.resource(QTextDocument::ImageResource, QUrl(format.name()));
            const QImage image = resource.value<QImage>();
            if (image.isNull()) {
                missing << format.name();
                continue;
            }
            const double width = format.width() > 0 ? format.width() : image.width();
            if (width <= kMaxPictureWidth)
                continue;
            format.setWidth(kMaxPictureWidth);
            format.setHeight(image.height() * kMaxPictureWidth / image.width());
            fits.push_back({fragment.position(), fragment.length(), format});
        }
    }
    for (const Fit& fit : fits) {
        QTextCursor cursor(&document);
        cursor.setPosition(fit.position);
        cursor.setPosition(fit.position + fit.length, QTextCursor::KeepAnchor);
        cursor.setCharFormat(fit.format);
    }
    return missing;
}

// Lays the guide out on A4 pages with 20 mm margins and prints each page with its number below.
// The writer works at the layout's resolution, so a layout pixel is a device pixel.
bool PrintManual(QTextDocument& document, const QString& path)
{
    QPdfWriter writer(path);
    writer.setResolution(kLayoutDpi);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(20, 20, 20, 20), QPageLayout::Millimeter);
    writer.setTitle(document.metaInformation(QTextDocument::DocumentTitle));
    writer.setCreator("TalvernRLC");
    document.documentLayout()->setPaintDevice(&writer);
    const QSizeF area(writer.width(), writer.height());
    const double footer = 24;
    document.setPageSize(QSizeF(area.width(), area.height() - footer));
    const double pageHeight = document.pageSize().height();
    QPainter painter;
    if (!painter.begin(&writer))
        return false;
    const int pages = document.pageCount();
    for (int page = 0; page < pages; ++page) {
        if (page > 0)
            writer.newPage();
        painter.save();
        painter.translate(0, -page * pageHeight);
        document.drawContents(&painter, QRectF(0, page * pageHeight, area.width(), pageHeight));
        painter.restore();
        painter.drawText(QRectF(0, area.height() - footer, area.width(), footer),
                         Qt::AlignHCenter | Qt::AlignBottom, QString::number(page + 1));
    }
    return painter.end();
}

}  // namespace

int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::cerr << "usage: talvern-manual GUIDE.html MANUAL.pdf\n";
        return 2;
    }
    const QString guidePath = QString::fromLocal8Bit(argv[1]);
    const QString pdfPath = QString::fromLocal8Bit(argv[2]);
    QString html;
    if (!ReadGuide(guidePath, html)) {
        std::cerr << "talvern-manual: cannot read " << argv[1] << '\n';
        return 1;
    }
    QTextDocument document;
    document.setBaseUrl(QUrl::fromLocalFile(QFileInfo(guidePath).absolutePath() + "/"));
    document.setHtml(html);
    const QStringList missing = FitPictures(document);
    if (!missing.isEmpty()) {
        std::cerr << "talvern-manual: missing pictures: " << missing.join(", ").toStdString() << '\n';
        return 1;
    }

    if (!PrintManual(document, pdfPath)) {
        std::cerr << "talvern-manual: cannot write " << argv[2] << '\n';
        return 1;
    }
    return 0;
}
