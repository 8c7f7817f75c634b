#pragma once
// Setting commands collected for one write: up to four strings of at most 50 characters, and the
// settings already queued, so that a setting goes out once per write with its latest text.

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
    // Queues the command of a setting once per write: a later text for a setting already queued
    // replaces the earlier one in its place, so the analyzer gets the value set last. False when
    // the text does not fit; the setting then holds no text (the caller writes the queue first).
    bool QueueOnce(unsigned settingBit, std::string_view text);
    bool IsQueued(unsigned settingBit) const;

    // The strings holding commands, in order.
    std::vector<std::string> Strings() const;
    bool Empty() const { return m_commands.empty(); }
    // Empties every string and the queued-settings set.
    void Clear() { m_commands.clear(); }

private:
    struct Queued {
        unsigned setting;  // 0 for a command that is not a setting's
        std::string text;
    };
    // The commands packed into strings as they were appended; none when they need more than kStrings.
    static std::optional<std::vector<std::string>> Pack(const std::vector<Queued>& commands);
    bool Fits() const { return Pack(m_commands).has_value(); }

    std::vector<Queued> m_commands;
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
