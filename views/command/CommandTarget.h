#pragma once
// Command routing between displays, documents, frames and the application: a command id goes to
// the first target that handles it, in the order active display, its document, its frame, the
// main frame, the application; the same chain answers enabling and check-mark queries.

struct CommandUi {
    bool enabled = true;
    bool checkable = false;
    bool checked = false;
};

class CommandTarget {
public:
    virtual ~CommandTarget() = default;
    // Runs the command; returns false when this target does not handle the id.
    virtual bool OnCommand(int id) = 0;
    // Fills the item's state; returns false when this target does not handle the id.
    virtual bool OnUpdateCommand(int id, CommandUi& ui) = 0;
};
