#include "views/base/ViewSelection.h"

#include <algorithm>

namespace selection {

namespace {

bool Set(GraphAttrib& attrib, bool selected)
{
    if (attrib.selected == selected)
        return false;
    attrib.selected = selected;
    return true;
}

}  // namespace

int LowestSelected(const std::vector<GraphAttrib>& attribs)
{
    for (size_t i = 0; i < attribs.size(); ++i)
        if (attribs[i].selected)
            return int(i);
    return -1;
}

int HighestSelected(const std::vector<GraphAttrib>& attribs)
{
    for (size_t i = attribs.size(); i-- > 0;)
        if (attribs[i].selected)
            return int(i);
    return -1;
}

int CountSelected(const std::vector<GraphAttrib>& attribs)
{
    return int(std::count_if(attribs.begin(), attribs.end(), [](const GraphAttrib& a) { return a.selected; }));
}

int CurrentDataSet(const std::vector<GraphAttrib>& attribs)
{
    for (size_t i = 0; i < attribs.size(); ++i)
        if (attribs[i].selected && attribs[i].visible)
            return int(i);
    for (size_t i = 0; i < attribs.size(); ++i)
        if (attribs[i].visible)
            return int(i);
    return attribs.empty() ? -1 : 0;
}

bool SelectOnly(std::vector<GraphAttrib>& attribs, int index)
{
    bool changed = false;
    for (size_t i = 0; i < attribs.size(); ++i)
        changed |= Set(attribs[i], int(i) == index);
    return changed;
}

bool DeselectAll(std::vector<GraphAttrib>& attribs)
{
    return SelectOnly(attribs, -1);
}

bool SelectAllVisible(std::vector<GraphAttrib>& attribs)
{
    bool changed = false;
    for (GraphAttrib& attrib : attribs)
        if (attrib.visible)
            changed |= Set(attrib, true);
    return changed;
}

bool Click(std::vector<GraphAttrib>& attribs, int hit, bool ctrl, bool shift)
{
    const bool valid = hit >= 0 && hit < int(attribs.size());
    if (!valid)
        return ctrl || shift ? false : DeselectAll(attribs);
    if (ctrl)
        return Set(attribs[hit], !attribs[hit].selected);
    if (shift) {
        const int low = LowestSelected(attribs), high = HighestSelected(attribs);
        const int from = low < 0 ? hit : std::min(low, hit);
        const int to = high < 0 ? hit : std::max(high, hit);
        bool changed = false;
        for (int i = from; i <= to; ++i)
            if (attribs[i].visible)
                changed |= Set(attribs[i], true);
        return changed;
    }
    return SelectOnly(attribs, hit);
}

bool MoveSelection(std::vector<GraphAttrib>& attribs, bool up)
{
    const int n = int(attribs.size());
    if (n == 0)
        return false;
    const int start = LowestSelected(attribs);
    int i = start < 0 ? (up ? 0 : n - 1) : start;
    for (int step = 0; step < n; ++step) {
        i = up ? (i + n - 1) % n : (i + 1) % n;
        if (attribs[i].visible)
            return SelectOnly(attribs, i);
    }
    return false;
}

bool AlsoSelectEnd(std::vector<GraphAttrib>& attribs, bool highest)
{
    const int n = int(attribs.size());
    for (int k = 0; k < n; ++k) {
        const int i = highest ? n - 1 - k : k;
        if (attribs[i].visible)
            return Set(attribs[i], true);
    }
    return false;
}

bool ShowAll(std::vector<GraphAttrib>& attribs)
{
    bool changed = false;
    for (GraphAttrib& attrib : attribs) {
        if (!attrib.visible) {
            attrib.visible = true;
            attrib.selected = true;
            changed = true;
        }
    }
    return changed;
}

}  // namespace selection
