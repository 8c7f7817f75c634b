#pragma once
// The keys and spin arrows of every analyzer dialog, wired to its engine's KeyAndSpinHandlers:
// Page Up, Page Down, Up and Down, and the arrows beside the start and stop frequency, steps per
// decade, frequency step, AC Volts Out and DC Volts Out fields.

#include <QObject>
#include <QWidget>
#include <Qt>

#include "analyzer/dialogs/SpinArrows.h"

struct FieldArrows {
    SpinArrows* startFrequency;
    SpinArrows* stopFrequency;
    SpinArrows* stepsPerDecade;
    SpinArrows* frequencyStep;
    SpinArrows* acVoltsOut;  // as the Up and Down keys
    SpinArrows* dcVoltsOut;  // as the Page Up and Page Down keys
};

// Creates the six arrows (parentless until laid out) and connects them to engine, in context.
template <class Engine>
FieldArrows MakeFieldArrows(QObject* context, Engine* engine)
{
    const FieldArrows arrows{new SpinArrows, new SpinArrows, new SpinArrows,
                             new SpinArrows, new SpinArrows, new SpinArrows};
    const auto spin = [context](SpinArrows* pair, auto onUp, auto onDown) {
        QObject::connect(pair, &SpinArrows::up, context, onUp);
        QObject::connect(pair, &SpinArrows::down, context, onDown);
    };
    spin(arrows.startFrequency, [engine] { engine->SpinStartFrequency(true); },
         [engine] { engine->SpinStartFrequency(false); });
    spin(arrows.stopFrequency, [engine] { engine->SpinStopFrequency(true); },
         [engine] { engine->SpinStopFrequency(false); });
    spin(arrows.stepsPerDecade, [engine] { engine->SpinStepsPerDecade(true); },
         [engine] { engine->SpinStepsPerDecade(false); });
    spin(arrows.frequencyStep, [engine] { engine->SpinFrequencyStep(true); },
         [engine] { engine->SpinFrequencyStep(false); });
    spin(arrows.acVoltsOut, [engine] { engine->OnKeyUp(); }, [engine] { engine->OnKeyDown(); });
    spin(arrows.dcVoltsOut, [engine] { engine->OnKeyPageUp(); }, [engine] { engine->OnKeyPageDown(); });
    return arrows;
}

// Hands Page Up, Page Down, Up and Down to engine; false for any other key.
template <class Engine>
bool ForwardAnalyzerKey(int key, Engine& engine)
{
    switch (key) {
    case Qt::Key_PageUp: engine.OnKeyPageUp(); return true;
    case Qt::Key_PageDown: engine.OnKeyPageDown(); return true;
    case Qt::Key_Up: engine.OnKeyUp(); return true;
    case Qt::Key_Down: engine.OnKeyDown(); return true;
    default: return false;
    }
}

// The key rule of every analyzer dialog: the four keys above go to engine, and Enter never
// closes the dialog but moves the focus to the communication log. False for any other key.
template <class Engine>
bool HandleAnalyzerDialogKey(int key, Engine& engine, QWidget& log)
{
    if (ForwardAnalyzerKey(key, engine))
        return true;
    if (key != Qt::Key_Return && key != Qt::Key_Enter)
        return false;
    log.setFocus();
    return true;
}
