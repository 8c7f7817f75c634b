#include "app/dialogs/ProgramPicture.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <cmath>

#include "app/application/ProductVersion.h"

namespace {

// A resonant circuit's gain and phase over four decades, drawn into `area`.
void DrawResponse(QPainter& painter, const QRectF& area)
{
    painter.setPen(QPen(QColor(255, 255, 255, 60), 1));
    for (int decade = 0; decade <= 4; ++decade) {
        const double x = area.left() + area.width() * decade / 4.0;
        painter.drawLine(QPointF(x, area.top()), QPointF(x, area.bottom()));
    }
    for (int row = 0; row <= 4; ++row) {
        const double y = area.top() + area.height() * row / 4.0;
        painter.drawLine(QPointF(area.left(), y), QPointF(area.right(), y));
    }
    QPainterPath gain;
    QPainterPath phase;
    constexpr int kSteps = 200;
    for (int i = 0; i <= kSteps; ++i) {
        const double u = static_cast<double>(i) / kSteps;
        const double ratio = std::pow(10.0, (u - 0.5) * 4.0);  // frequency over resonance
        const double q = 4.0;
        const double re = 1.0 - ratio * ratio;
        const double im = ratio / q;
        const double db = -10.0 * std::log10(re * re + im * im);
        const double deg = -std::atan2(im, re) * 180.0 / M_PI;
        const QPointF g(area.left() + u * area.width(),
                        area.top() + area.height() * (0.35 - db / 80.0));
        const QPointF p(area.left() + u * area.width(), area.top() + area.height() * (0.1 - deg / 200.0));
        if (i == 0) {
            gain.moveTo(g);
            phase.moveTo(p);
        } else {
            gain.lineTo(g);
            phase.lineTo(p);
        }
    }
    painter.save();
    painter.setClipRect(area);
    painter.setPen(QPen(QColor(255, 80, 80), 3));
    painter.drawPath(gain);
    painter.setPen(QPen(QColor(110, 170, 255), 3));
    painter.drawPath(phase);
    painter.restore();
}

}  // namespace

QImage ProgramPicture()
{
    QImage image(kProgramPictureWidth, kProgramPictureHeight, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient background(0, 0, 0, kProgramPictureHeight);
    background.setColorAt(0.0, QColor(12, 28, 64));
    background.setColorAt(1.0, QColor(10, 90, 110));
    painter.fillRect(image.rect(), background);

    QFont title(QStringLiteral("Liberation Sans"));
    title.setPixelSize(44);
    title.setBold(true);
    painter.setFont(title);
    painter.setPen(Qt::white);
    painter.drawText(QRect(0, 28, kProgramPictureWidth, 56), Qt::AlignCenter, QStringLiteral("Talvern RLC"));

    QFont subtitle(QStringLiteral("Liberation Sans"));
    subtitle.setPixelSize(17);
    painter.setFont(subtitle);
    painter.setPen(QColor(200, 220, 240));
    painter.drawText(QRect(0, 88, kProgramPictureWidth, 24), Qt::AlignCenter,
                     QStringLiteral("Frequency Response and RLC Measurement"));

    DrawResponse(painter, QRectF(44, 136, kProgramPictureWidth - 88, 240));

    painter.setFont(subtitle);
    painter.setPen(Qt::white);
    painter.drawText(QRect(0, 400, kProgramPictureWidth, 24), Qt::AlignCenter,
                     QStringLiteral("Version %1").arg(QString::fromStdString(ProductVersionText())));
    painter.setPen(QColor(200, 220, 240));
    painter.drawText(QRect(0, 432, kProgramPictureWidth, 24), Qt::AlignCenter,
                     QStringLiteral("Talvern Systems"));
    return image;
}

QIcon ProgramIcon()
{
    QImage image(64, 64, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient background(0, 0, 0, 64);
    background.setColorAt(0.0, QColor(12, 28, 64));
    background.setColorAt(1.0, QColor(10, 90, 110));
    painter.setPen(Qt::NoPen);
    painter.setBrush(background);
    painter.drawRoundedRect(QRectF(2, 2, 60, 60), 8, 8);
    QPainterPath gain(QPointF(8, 30));
    gain.cubicTo(QPointF(20, 30), QPointF(26, 28), QPointF(30, 14));
    gain.cubicTo(QPointF(33, 26), QPointF(36, 44), QPointF(56, 52));
    QPainterPath phase(QPointF(8, 18));
    phase.cubicTo(QPointF(22, 18), QPointF(28, 22), QPointF(32, 34));
    phase.cubicTo(QPointF(36, 46), QPointF(44, 48), QPointF(56, 48));
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(255, 80, 80), 3));
    painter.drawPath(gain);
    painter.setPen(QPen(QColor(110, 170, 255), 3));
    painter.drawPath(phase);
    painter.end();
    return QIcon(QPixmap::fromImage(image));
}
