#include "views/exchange/DataExchange.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <cstdio>

#include "data/Prompter.h"
#include "data/TalDocument.h"
#include "views/base/TalView.h"
#include "views/base/ViewSelection.h"
#include "views/command/CommandIds.h"
#include "views/mail/DisplayMail.h"
#include "views/picture/DisplayPicture.h"

namespace exchange {

const char kDatFilter[] = "DAT Files (*.dat)|*.dat|All Files (*.*)|*.*||";

namespace {

FileRequest DatRequest()
{
    return FileRequest{"", kDatFilter, "dat", "untitled.dat"};
}

bool ClipboardHasText()
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return data && data->hasText();
}

int SelectedCount(CTalView& view)
{
    return selection::CountSelected(view.Fields().attribs);
}

}  // namespace

std::string BareNumberTable(std::string table)
{
    while (table.find('*') != std::string::npos) {
        const size_t end = table.find('\n');
        if (end == std::string::npos)
            return std::string();
        table.erase(0, end + 1);
    }
    return table;
}

void Copy(CTalView& view)
{
    const int index = selection::LowestSelected(view.Fields().attribs);
    std::string table;
    if (index < 0 || !view.FormatDataAsText(index, table))
        return;
    QGuiApplication::clipboard()->setText(QString::fromStdString(table));
}

void Cut(CTalView& view)
{
    Copy(view);
    view.OnDelete();
}

void Paste(CTalView& view)
{
    if (!ClipboardHasText())
        return;
    const std::string text = QGuiApplication::clipboard()->text().toStdString();
    if (text.size() > kMaxTextBytes)
        return;
    view.DeselectAllDataSets();
    const SweepTarget::Defaults& d = view.DataSetDefaults();
    view.GetDocument()->ImportText(text, d.outputNode, d.inputNode, d.scaleFactor);
    if (view.Fields().automaticScaling) {
        view.AutoScale();
        view.Redraw();
    }
}

void Export(CTalView& view)
{
    const int index = selection::LowestSelected(view.Fields().attribs);
    std::string table;
    if (index < 0 || !view.FormatDataAsText(index, table))
        return;
    const std::string bare = BareNumberTable(table);
    const std::optional<std::string> path = prompter().SaveFileName(DatRequest());
    if (!path)
        return;
    if (FILE* file = std::fopen(path->c_str(), "wb")) {
        std::fwrite(bare.data(), 1, bare.size(), file);
        std::fclose(file);
    }
}

void Import(CTalView& view)
{
    const std::optional<std::string> path = prompter().OpenFileName(DatRequest());
    if (!path)
        return;
    std::string contents;
    if (!ReadTextFile(*path, kMaxTextBytes, contents))
        return;
    const SweepTarget::Defaults& d = view.DataSetDefaults();
    view.GetDocument()->ImportText(JoinImportLines(contents), d.outputNode, d.inputNode, d.scaleFactor);
}

void CopyGraph(CTalView& view)
{
    QGuiApplication::clipboard()->setImage(view.RenderPicture());
}

bool OnCommand(CTalView& view, int id)
{
    switch (id) {
    case cmd::EditCopy:
        Copy(view);
        return true;
    case cmd::EditCut:
        Cut(view);
        return true;
    case cmd::EditPaste:
        Paste(view);
        return true;
    case cmd::ExportMatlab:
        Export(view);
        return true;
    case cmd::ImportMatlab:
        Import(view);
        return true;
    case cmd::CopyGraph:
        CopyGraph(view);
        return true;
    case cmd::SaveToJpg:
        // Pictures are saved from the graph displays only; the text display mails its text.
        if (!view.Renderer())
            return false;
        OnSaveToJpg(view);
        return true;
    case cmd::MailTo:
        OnMailTo(view);
        return true;
    default:
        return false;
    }
}

bool OnUpdateCommand(CTalView& view, int id, CommandUi& ui)
{
    ui = CommandUi{};
    switch (id) {
    case cmd::EditCopy:
    case cmd::EditCut:
    case cmd::ExportMatlab:
        ui.enabled = SelectedCount(view) == 1;
        return true;
    case cmd::EditPaste:
        ui.enabled = ClipboardHasText();
        return true;
    case cmd::ImportMatlab:
    case cmd::CopyGraph:
    case cmd::MailTo:
        return true;
    case cmd::SaveToJpg:
        return view.Renderer() != nullptr;
    default:
        return false;
    }
}

}  // namespace exchange
