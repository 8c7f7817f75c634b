#include "app/application/AnalyzerKeyForwarding.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QWidget>

#include "app/application/AnalyzerDialogs.h"
#include "views/base/ViewHooks.h"

namespace {

constexpr AnalyzerFamily kKeyOrder[] = {AnalyzerFamily::A2600, AnalyzerFamily::S1800, AnalyzerFamily::A1960,
                                        AnalyzerFamily::NF5060};

// The key as a press on the dialog's window, where the dialog's own key handling runs.
bool SendKeyTo(QWidget& window, int key)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QCoreApplication::sendEvent(&window, &press);
    return press.isAccepted();
}

} // namespace

void InstallAnalyzerKeyHook(const AnalyzerDialogs& dialogs)
{
    SetAnalyzerKeyHook([&dialogs](int key) {
        for (const AnalyzerFamily family : kKeyOrder) {
            AnalyzerControl* dialog = dialogs.Family(family);
            QWidget* window = dialog ? dialog->Window() : nullptr;
            if (window && window->isVisible())
                return SendKeyTo(*window, key);
        }
        return false;
    });
}

void RemoveAnalyzerKeyHook()
{
    SetAnalyzerKeyHook(nullptr);
}
