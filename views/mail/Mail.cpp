#include "views/mail/Mail.h"

#include <QApplication>
#include <QProcess>
#include <QStringList>

#include "data/Prompter.h"

namespace {

std::string& MailProgram()
{
    static std::string program = "xdg-email";
    return program;
}

// xdg-email: 3 means no mail program could be found, other codes a failed hand-over.
constexpr int kNoMailTool = 3;
constexpr int kMailWaitMs = 60000;

}  // namespace

void OMail::SetMailProgram(const std::string& program)
{
    MailProgram() = program.empty() ? "xdg-email" : program;
}

void OMail::AddRecipient(const std::string& name, const std::string& address, bool copy)
{
    m_recipients.push_back({name, address, copy});
}

std::vector<std::string> OMail::Arguments() const
{
    std::vector<std::string> args;
    if (!m_subject.empty())
        args.insert(args.end(), {"--subject", m_subject});
    if (!m_note.empty())
        args.insert(args.end(), {"--body", m_note});
    for (const std::string& path : m_attachments)
        args.insert(args.end(), {"--attach", path});
    for (const Recipient& r : m_recipients) {
        if (r.copy)
            args.insert(args.end(), {"--cc", r.address});
    }
    for (const Recipient& r : m_recipients) {
        if (!r.copy)
            args.push_back(r.address);
    }
    return args;
}

bool OMail::Send(bool /*showDialog*/, const std::string& failureText) const
{
    QStringList args;
    for (const std::string& a : Arguments())
        args << QString::fromStdString(a);
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    process.start(QString::fromStdString(MailProgram()), args);
    const bool started = process.waitForStarted();
    const bool finished = started && process.waitForFinished(kMailWaitMs);
    QApplication::restoreOverrideCursor();
    if (!started || (finished && process.exitStatus() == QProcess::NormalExit && process.exitCode() == kNoMailTool)) {
        prompter().Message("Unable to load mail system support.", "", PromptButtons::Ok, PromptIcon::Error);
        return false;
    }
    if (!finished) {
        // Still handing over after the wait: the mail program has the message.
        process.kill();
        process.waitForFinished();
        return true;
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        prompter().Message(failureText, "", PromptButtons::Ok, PromptIcon::Error);
        return false;
    }
    return true;
}
