#pragma once
// Messages raised while drawing. Painting never blocks on a prompt: drawing code raises a
// text, and the display shows each cause once, after the paint, until a complete drawing no
// longer raises it (so a range that stays empty is reported once, not at every repaint).
#include <set>
#include <string>
#include <vector>

class PaintMessages {
public:
    void BeginDrawing();
    void Raise(const std::string& text);
    // `complete` is false for a partial repaint, which cannot retire a cause.
    void EndDrawing(bool complete);
    // Causes raised for the first time since they were last retired; clears the list.
    std::vector<std::string> TakeNew();

private:
    std::set<std::string> m_active;
    std::set<std::string> m_raisedNow;
    std::vector<std::string> m_new;
};
