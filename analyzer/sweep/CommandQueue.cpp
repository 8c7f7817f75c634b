#include "analyzer/sweep/CommandQueue.h"

#include "analyzer/sweep/CommLog.h"

#include <algorithm>

namespace analyzer {

std::optional<std::vector<std::string>> CommandQueue::Pack(const std::vector<Queued>& commands)
{
    std::vector<std::string> strings;
    for (const Queued& command : commands) {
        if (command.text.empty())
            continue;
        if (strings.empty() || strings.back().size() + command.text.size() > kMaxLength) {
            if (strings.size() == kStrings)
                return std::nullopt;
            strings.emplace_back();
        }
        strings.back() += command.text;
    }
    return strings;
}

bool CommandQueue::QueueCommand(std::string_view text)
{
    if (text.empty())
        return true;
    if (text.size() > kMaxLength)
        return false;
    m_commands.push_back({0, std::string(text)});
    if (Fits())
        return true;
    m_commands.pop_back();
    return false;
}

bool CommandQueue::QueueOnce(unsigned settingBit, std::string_view text)
{
    if (text.size() > kMaxLength)
        return false;
    const auto queued = std::find_if(m_commands.begin(), m_commands.end(),
                                     [settingBit](const Queued& command) { return command.setting == settingBit; });
    if (queued == m_commands.end()) {
        m_commands.push_back({settingBit, std::string(text)});
        if (Fits())
            return true;
        m_commands.pop_back();
        return false;
    }
    queued->text = std::string(text);
    if (Fits())
        return true;
    // The earlier text goes too: the setting is queued again once the queue was written.
    m_commands.erase(queued);
    return false;
}

bool CommandQueue::IsQueued(unsigned settingBit) const
{
    return std::any_of(m_commands.begin(), m_commands.end(),
                       [settingBit](const Queued& command) { return command.setting == settingBit; });
}

std::vector<std::string> CommandQueue::Strings() const
{
    return Pack(m_commands).value_or(std::vector<std::string>{});
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
