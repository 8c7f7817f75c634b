#include "app/platform/PrompterReporter.h"

#include "data/Prompter.h"

void PrompterReporter::ShowMessage(const std::string& text)
{
    prompter().Message(text, kApplicationCaption, PromptButtons::Ok, PromptIcon::None);
}
