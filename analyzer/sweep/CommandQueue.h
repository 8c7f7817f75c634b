#pragma once
// Setting commands collected for one write: up to four strings of at most 50 characters, and the
// set of settings already queued so that each is queued once per write.

#include <array>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace analyzer {

class CommLog;

// Bits of the queued-settings set.
inline constexpr unsigned kQueuedAmplitude = 0x1;
inline constexpr unsigned kQueuedWaveform = 0x4;

class CommandQueue {
public:
    static constexpr std::size_t kStrings = 4;
    static constexpr std::size_t kMaxLength = 50;

    // Appends text to the string being filled, or starts the next string when it would grow past
    // kMaxLength. False (nothing queued) when the text is longer than kMaxLength or all strings
    // are full.
    bool QueueCommand(std::string_view text);
    // Queues text unless a command of this setting is already queued; marks the setting queued.
    bool QueueOnce(unsigned settingBit, std::string_view text);
    bool IsQueued(unsigned settingBit) const { return (m_queuedSettings & settingBit) != 0; }

    // The strings holding commands, in order.
    std::vector<std::string> Strings() const;
    bool Empty() const { return m_strings[0].empty(); }
    // Empties every string and the queued-settings set.
    void Clear();

private:
    std::array<std::string, kStrings> m_strings;
    std::size_t m_filling = 0;
    unsigned m_queuedSettings = 0;
};

enum class Bus { Gpib, Usb };
// Joined: all strings in one write (2600 series over GPIB with firmware 1.x). Separate: one write
// per string with a 200 ms wait after every third.
enum class QueuedWriteMode { Joined, Separate };

// Writes one command text; false on failure.
using CommandWriter = std::function<bool(const std::string&)>;
// Waits the given number of milliseconds (recorded, not slept, in tests).
using MillisecondSleeper = std::function<void(int)>;

// Writes the queued strings in order, logging each write as "Sent:'%s'\r\n", and empties the
// queue. Returns the context sentence of a failed write (the rest stays unsent), none on success.
std::optional<std::string> SendQueuedCommands(CommandQueue& queue, QueuedWriteMode mode, Bus bus,
                                              const CommandWriter& write,
                                              const MillisecondSleeper& sleep, CommLog& log);

} // namespace analyzer
