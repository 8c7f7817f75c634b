#pragma once
// The application core's messages as modal boxes with an OK button through the Prompter.
#include "app/core/MessageReporter.h"

class PrompterReporter : public MessageReporter {
public:
    void ShowMessage(const std::string& text) override;
};

// Caption of the application's own message boxes.
inline constexpr const char* kApplicationCaption = "TalvernRLC";
