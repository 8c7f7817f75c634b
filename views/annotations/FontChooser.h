#pragma once
// The font dialog behind "Select Font", as a replaceable function so that tests answer it
// without a window.
#include <QFont>
#include <functional>
#include <optional>

class QWidget;

// The chosen font, or nothing when cancelled.
using FontChooserHook = std::function<std::optional<QFont>(const QFont& initial, QWidget* parent)>;
// Installs the chooser; null restores Qt's font dialog.
void SetFontChooserHook(FontChooserHook hook);
std::optional<QFont> ChooseFont(const QFont& initial, QWidget* parent);
