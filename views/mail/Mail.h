#pragma once
// OMail: one outgoing message, handed to the desktop's mail program through xdg-email, which
// opens a new message with the subject, note, recipients and attachments.
#include <string>
#include <vector>

class OMail {
public:
    struct Recipient {
        std::string name, address;
        bool copy = false;
    };

    void SetSubject(const std::string& subject) { m_subject = subject; }
    void SetNoteText(const std::string& text) { m_note = text; }
    void AddRecipient(const std::string& name, const std::string& address, bool copy = false);
    void AddAttachment(const std::string& path) { m_attachments.push_back(path); }

    // The mail program's arguments for this message.
    std::vector<std::string> Arguments() const;
    // Opens the mail program with a wait cursor; shows "Unable to load mail system support."
    // when it cannot be started and `failureText` when it reports a failure. The mail program
    // always shows its window, so the show-dialog flag changes nothing here.
    bool Send(bool showDialog, const std::string& failureText = "Error in Sending Mail!") const;

    // The program run by Send ("xdg-email" unless set, for tests).
    static void SetMailProgram(const std::string& program);

private:
    std::string m_subject = "None";
    std::string m_note;
    std::vector<Recipient> m_recipients;
    std::vector<std::string> m_attachments;
};
