#pragma once
// Mail To: a display's picture or its document handed to the mail program.
#include <functional>
#include <optional>
#include <string>

class CTalView;
class CTalDocument;

// The picture's path: the temporary folder and the document's title without a final ".tal"
// (any case), followed by ".jpg".
std::string MailPicturePath(const std::string& tempFolder, const std::string& title);

// Where the format comes from: by default the "Mail As" dialog; nothing when cancelled.
using MailFormatHook = std::function<std::optional<int>(CTalView& view)>;
void SetMailFormatHook(MailFormatHook hook);  // an empty hook restores the dialog

// Sends the document as its file: a copy in a temporary folder when it was never saved or
// has changes (left there for the mail program), else its own file.
bool MailDocument(CTalDocument& document);
// The Mail To command of every display.
void OnMailTo(CTalView& view);
