#include "views/picture/DisplayPicture.h"

#include "data/Prompter.h"
#include "views/base/TalView.h"
#include "views/picture/JpegQualityDialog.h"
#include "views/picture/JpegWriter.h"

namespace {

JpegQualityHook& QualityHook()
{
    static JpegQualityHook hook;
    return hook;
}

std::optional<int> AskQuality(CTalView& view)
{
    if (QualityHook())
        return QualityHook()(view);
    OJpgQualityDlg dialog(&view);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.Quality();
}

}  // namespace

void SetJpegQualityHook(JpegQualityHook hook)
{
    QualityHook() = std::move(hook);
}

std::vector<uint8_t> RgbRowsFromImage(const QImage& image)
{
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    const int width = rgb.width(), height = rgb.height();
    std::vector<uint8_t> rows(size_t(width) * size_t(height) * 3);
    for (int y = 0; y < height; ++y) {
        const uint8_t* line = rgb.constScanLine(y);
        std::copy(line, line + size_t(width) * 3, rows.begin() + std::ptrdiff_t(size_t(y) * size_t(width) * 3));
    }
    return rows;
}

bool SaveDisplayAsJpeg(CTalView& view, const std::string& path)
{
    const std::optional<int> quality = AskQuality(view);
    if (!quality)
        return false;
    const QImage picture = view.RenderPicture();
    if (picture.isNull())
        return false;
    return WriteJpegFile(RgbRowsFromImage(picture), picture.width(), picture.height(), *quality, path);
}

void OnSaveToJpg(CTalView& view)
{
    FileRequest request;
    request.filter = "JPEG Files (*.jpg)|*.jpg|All Files (*.*)|*.*||";
    request.defaultExtension = "jpg";
    request.defaultName = "untitled.jpg";
    if (const std::optional<std::string> path = prompter().SaveFileName(request))
        SaveDisplayAsJpeg(view, *path);
}
