#pragma once
// Selection and visibility rules of the displays on their per-data-set entries. Each change
// returns whether any flag changed. Hidden data sets are never selected by these rules, so
// commands on the selection never act on data the user cannot see.
#include <vector>

#include "views/base/ViewFields.h"

namespace selection {

int LowestSelected(const std::vector<GraphAttrib>& attribs);   // -1 when none
int HighestSelected(const std::vector<GraphAttrib>& attribs);  // -1 when none
int CountSelected(const std::vector<GraphAttrib>& attribs);
// Lowest selected and visible; else lowest visible; else 0 when entries exist; else -1.
int CurrentDataSet(const std::vector<GraphAttrib>& attribs);

bool SelectOnly(std::vector<GraphAttrib>& attribs, int index);
bool DeselectAll(std::vector<GraphAttrib>& attribs);
bool SelectAllVisible(std::vector<GraphAttrib>& attribs);
// A press on data set `hit` (-1 for none): Ctrl toggles it, Shift extends the selected range
// to it, neither makes it the only one; a press on nothing without modifiers deselects all.
bool Click(std::vector<GraphAttrib>& attribs, int hit, bool ctrl, bool shift);
// Up (towards lower numbers) or Down from the lowest selected one, wrapping, as the only one.
bool MoveSelection(std::vector<GraphAttrib>& attribs, bool up);
// Home and End: the lowest or highest visible data set is also selected.
bool AlsoSelectEnd(std::vector<GraphAttrib>& attribs, bool highest);
// Every hidden entry becomes visible and selected.
bool ShowAll(std::vector<GraphAttrib>& attribs);

}  // namespace selection
