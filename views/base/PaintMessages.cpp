#include "views/base/PaintMessages.h"

void PaintMessages::BeginDrawing()
{
    m_raisedNow.clear();
}

void PaintMessages::Raise(const std::string& text)
{
    m_raisedNow.insert(text);
    if (m_active.insert(text).second)
        m_new.push_back(text);
}

void PaintMessages::EndDrawing(bool complete)
{
    if (complete)
        m_active = m_raisedNow;
}

std::vector<std::string> PaintMessages::TakeNew()
{
    std::vector<std::string> taken;
    taken.swap(m_new);
    return taken;
}
