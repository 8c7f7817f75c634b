#pragma once
// ControlRectangle: a colour swatch (one colour, white at first, sunken edge). It ignores the
// mouse; the owning dialog opens the colour chooser for a click inside a visible swatch.
#include <QFrame>
#include <cstdint>
#include <functional>
#include <optional>

class ControlRectangle : public QFrame {
    Q_OBJECT
public:
    explicit ControlRectangle(QWidget* parent = nullptr);
    void SetColor(uint32_t colorRef);  // 0x00BBGGRR; repaints at once
    uint32_t Color() const { return m_color; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    uint32_t m_color = 0xFFFFFF;
};

// The colour chooser, fully opened with `current` preselected; nothing on Cancel.
using ColorChooserHook = std::function<std::optional<uint32_t>(uint32_t current)>;
void SetColorChooserHook(ColorChooserHook hook);  // an empty hook restores the platform chooser
std::optional<uint32_t> ChooseColor(uint32_t current, QWidget* parent);
// Opens the chooser when the click at `position` (in `owner`'s coordinates) falls inside the
// visible swatch, and takes the chosen colour over; true when the colour changed.
bool ChooseSwatchColor(ControlRectangle& swatch, QWidget* owner, const QPoint& position);
