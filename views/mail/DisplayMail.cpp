#include "views/mail/DisplayMail.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "data/Prompter.h"
#include "data/TalDocument.h"
#include "views/base/TalView.h"
#include "views/mail/Mail.h"
#include "views/mail/MailPlotAsDialog.h"
#include "views/picture/DisplayPicture.h"

namespace {

MailFormatHook& FormatHook()
{
    static MailFormatHook hook;
    return hook;
}

std::optional<int> AskFormat(CTalView& view)
{
    if (FormatHook())
        return FormatHook()(view);
    OMailPlotAs dialog(&view);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.Choice();
}

bool EndsWithTal(const std::string& text)
{
    return QString::fromStdString(text).endsWith(".tal", Qt::CaseInsensitive);
}

constexpr const char* kDocumentMailFailed = "Send Mail failed to send message.";

}  // namespace

void SetMailFormatHook(MailFormatHook hook)
{
    FormatHook() = std::move(hook);
}

std::string MailPicturePath(const std::string& tempFolder, const std::string& title)
{
    std::string folder = tempFolder.substr(0, 255);
    if (!folder.empty() && folder.back() != '/')
        folder += '/';
    std::string name = title;
    if (EndsWithTal(name))
        name.resize(name.size() - 4);
    return folder + name + ".jpg";
}

bool MailDocument(CTalDocument& document)
{
    const bool useOwnFile = !document.m_pathName.empty() && !document.IsModified();
    std::string attachment = document.m_pathName;
    // The copy gets the name the document is known by, in a folder of its own. It stays there,
    // like the mailed picture: the mail program may read it after xdg-email has returned.
    QTemporaryDir folder(QDir::tempPath() + "/afxXXXXXX");
    folder.setAutoRemove(false);
    if (!useOwnFile) {
        if (!folder.isValid()) {
            prompter().Message(kDocumentMailFailed, "", PromptButtons::Ok, PromptIcon::Error);
            return false;
        }
        std::string name = document.m_pathName.empty() ? document.m_title
                                                        : QFileInfo(QString::fromStdString(document.m_pathName)).fileName().toStdString();
        if (!EndsWithTal(name))
            name += ".tal";
        attachment = folder.filePath(QString::fromStdString(name)).toStdString();
        // Writing the copy must not mark the document saved: its own file is unchanged.
        const bool modified = document.IsModified();
        std::string error;
        const bool saved = document.SaveToFile(attachment, error);
        document.SetModifiedFlag(modified);
        if (!saved) {
            prompter().Message(kDocumentMailFailed, "", PromptButtons::Ok, PromptIcon::Error);
            return false;
        }
    }
    OMail mail;
    mail.SetSubject("");
    mail.AddAttachment(attachment);
    return mail.Send(true, kDocumentMailFailed);
}

void OnMailTo(CTalView& view)
{
    const std::optional<int> format = AskFormat(view);
    if (!format)
        return;
    if (*format == 1) {
        MailDocument(*view.GetDocument());
        return;
    }
    const std::string path = MailPicturePath(QDir::tempPath().toStdString(), view.GetDocument()->m_title);
    if (!SaveDisplayAsJpeg(view, path))
        return;
    OMail mail;
    mail.SetSubject("");
    mail.AddAttachment(path);
    mail.Send(true);
}
