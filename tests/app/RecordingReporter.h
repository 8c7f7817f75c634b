#pragma once
// A message reporter that keeps every text it is shown.
#include <string>
#include <vector>

#include "app/core/MessageReporter.h"

class RecordingReporter : public MessageReporter {
public:
    void ShowMessage(const std::string& text) override { messages.push_back(text); }
    std::vector<std::string> messages;
};
