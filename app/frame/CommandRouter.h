#pragma once
// Runs a command id through a chain of targets (active display, its document, its frame, the
// main frame, the application) and answers enabling and check marks the same way. A command no
// target answers for is disabled; a disabled command is not run.
#include <vector>

#include "views/command/CommandTarget.h"

class CommandRouter {
public:
    explicit CommandRouter(std::vector<CommandTarget*> chain);

    // The state of the first target that answers; disabled when none does.
    CommandUi Update(int id) const;
    // Runs the command in the first target that handles it, if it is enabled. True when run.
    bool Execute(int id) const;

private:
    std::vector<CommandTarget*> m_chain;
};
