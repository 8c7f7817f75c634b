#pragma once
// Shell open requests that arrive before start-up has finished, kept as "\n" + command each
// and replayed in order once the main window is up.
#include <functional>
#include <string>

class ShellCommandQueue {
public:
    // Before start-up has finished: queues the command and returns true (accepted).
    // Afterwards: returns false, and the caller hands the command on at once.
    bool Offer(const std::string& command);
    // Marks start-up finished and executes the queued commands in order, stopping at the first
    // that fails. Returns false when one failed.
    bool FinishStartUp(const std::function<bool(const std::string&)>& execute);

    bool StartUpFinished() const { return m_finished; }
    const std::string& Queued() const { return m_queued; }

private:
    std::string m_queued;
    bool m_finished = false;
};
