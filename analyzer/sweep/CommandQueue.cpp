#include "analyzer/sweep/CommandQueue.h"

#include "analyzer/sweep/CommLog.h"

namespace analyzer {

bool CommandQueue::QueueCommand(std::string_view text)
{
    if (text.size() > kMaxLength)
        return false;
    if (m_strings[m_filling].size() + text.size() > kMaxLength) {
        if (m_filling + 1 >= kStrings)
            return false;
        ++m_filling;
    }
    m_strings[m_filling].append(text);
    return true;
}

bool CommandQueue::QueueOnce(unsigned settingBit, std::string_view text)
{
    if (IsQueued(settingBit))
        return true;
    if (!QueueCommand(text))
        return false;
    m_queuedSettings |= settingBit;
    return true;
}

std::vector<std::string> CommandQueue::Strings() const
{
    std::vector<std::string> strings;
    for (const std::string& s : m_strings)
        if (!s.empty())
            strings.push_back(s);
    return strings;
}

// The queued-settings set describes what the strings hold, so it is emptied with them, also after
// a failed write (a setting left marked would never be queued again).
void CommandQueue::Clear()
{
    for (std::string& s : m_strings)
        s.clear();
    m_filling = 0;
    m_queuedSettings = 0;
}

std::optional<std::string> SendQueuedCommands(CommandQueue& queue, QueuedWriteMode mode, Bus bus,
                                              const CommandWriter& write,
                                              const MillisecondSleeper& sleep, CommLog& log)
{
    const std::vector<std::string> strings = queue.Strings();
    queue.Clear();
    const char* failure = (bus == Bus::Gpib)
        ? "In WriteToGPIBMultiString(), command WriteToGPIBMultiString has an Error"
        : "In WriteToUsb488MultiString(), command tal2600_WriteInstrData has an Error";

    if (mode == QueuedWriteMode::Joined) {
        if (strings.empty())
            return std::nullopt;
        std::string joined;
        for (const std::string& s : strings)
            joined += s;
        if (!write(joined))
            return std::string(failure);
        log.AddToCommLog(SentLine(joined));
        return std::nullopt;
    }

    for (std::size_t i = 0; i < strings.size(); ++i) {
        if (!write(strings[i]))
            return std::string(failure);
        log.AddToCommLog(SentLine(strings[i]));
        if ((i + 1) % 3 == 0)
            sleep(200);
    }
    return std::nullopt;
}

} // namespace analyzer
