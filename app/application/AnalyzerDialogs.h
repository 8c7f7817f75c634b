#pragma once
// The analyzer control dialogs of one run: at most one per family, created on first use and
// kept until program end, and the one shown last.
#include <map>
#include <memory>

#include "app/application/AnalyzerControl.h"
#include "app/core/AnalyzerTypes.h"

class MessageReporter;

class AnalyzerDialogs {
public:
    enum class ShowState { Normal, Hidden };

    AnalyzerDialogs(ApplicationValues& values, MessageReporter& reporter);
    ~AnalyzerDialogs();
    AnalyzerDialogs(const AnalyzerDialogs&) = delete;
    AnalyzerDialogs& operator=(const AnalyzerDialogs&) = delete;

    // Shows the dialog of the current type's family in the given state, creating it as a child
    // of `context.parent` on first use. False when there is none (the user was told why) or it
    // failed to start.
    bool ShowAnalyzerDialog(ShowState state, const AnalyzerDialogContext& context);

    // The family's dialog if it exists and has a window.
    AnalyzerControl* Family(AnalyzerFamily family) const;
    // The current type's family dialog, or nullptr.
    AnalyzerControl* CurrentFamily() const;
    AnalyzerControl* LastShown() const;
    // True while the dialog shown last exists and sweeps.
    bool LastShownIsSweeping() const;

    // Program end: destroys the current family's dialog.
    void DestroyCurrentFamily();

private:
    ApplicationValues& m_values;
    MessageReporter& m_reporter;
    std::map<AnalyzerFamily, std::unique_ptr<AnalyzerControl>> m_dialogs;
    AnalyzerControl* m_lastShown = nullptr;
};
