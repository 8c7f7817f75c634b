#pragma once
// The prompt string of each command id: the text before "\n" is shown in the status bar while
// the command's item or button is highlighted, the text after it is the tooltip.
#include <string>

// The whole prompt string; empty for a command without one.
std::string CommandPrompt(int id);
std::string CommandStatusText(int id);
std::string CommandToolTip(int id);
