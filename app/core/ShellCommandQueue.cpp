#include "app/core/ShellCommandQueue.h"

bool ShellCommandQueue::Offer(const std::string& command)
{
    if (m_finished)
        return false;
    m_queued += '\n';
    m_queued += command;
    return true;
}

bool ShellCommandQueue::FinishStartUp(const std::function<bool(const std::string&)>& execute)
{
    m_finished = true;
    const std::string queued = std::move(m_queued);
    m_queued.clear();
    size_t start = 0;
    while (start <= queued.size()) {
        size_t end = queued.find('\n', start);
        if (end == std::string::npos)
            end = queued.size();
        if (end > start && !execute(queued.substr(start, end - start)))
            return false;
        start = end + 1;
    }
    return true;
}
