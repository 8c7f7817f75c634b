#pragma once
// The simulated analyzer's configuration entry point (talsim_configure), resolved in the
// simulator library the bus bindings use.
#include <string>

class SimulatorConnection {
public:
    // Opens the library at `path` (the same object the bindings load) and resolves the entry.
    explicit SimulatorConnection(const std::string& path);
    SimulatorConnection(const SimulatorConnection&) = delete;
    SimulatorConnection& operator=(const SimulatorConnection&) = delete;

    bool IsOpen() const { return m_configure != nullptr; }
    // Applies a configuration text: 0 when taken, else the first rejected item (-1: no library).
    int Configure(const std::string& text) const;

private:
    int (*m_configure)(const char*) = nullptr;
};
