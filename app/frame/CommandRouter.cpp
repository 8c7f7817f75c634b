#include "app/frame/CommandRouter.h"

#include <algorithm>

CommandRouter::CommandRouter(std::vector<CommandTarget*> chain) : m_chain(std::move(chain))
{
    std::erase(m_chain, nullptr);
}

CommandUi CommandRouter::Update(int id) const
{
    for (CommandTarget* target : m_chain) {
        CommandUi ui;
        if (target->OnUpdateCommand(id, ui))
            return ui;
    }
    CommandUi none;
    none.enabled = false;
    return none;
}

bool CommandRouter::Execute(int id) const
{
    if (!Update(id).enabled)
        return false;
    for (CommandTarget* target : m_chain)
        if (target->OnCommand(id))
            return true;
    return false;
}
