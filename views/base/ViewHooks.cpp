#include "views/base/ViewHooks.h"

namespace {

template <typename Hook>
Hook& Slot()
{
    static Hook hook;
    return hook;
}

}  // namespace

void SetNewDisplayWindowHook(NewDisplayWindowHook hook)
{
    Slot<NewDisplayWindowHook>() = std::move(hook);
}

CTalView* OpenNewDisplayWindow(CTalDocument* document, CTalView* like)
{
    const auto& hook = Slot<NewDisplayWindowHook>();
    return hook ? hook(document, like) : nullptr;
}

void SetRlcPanelHook(RlcPanelHook hook)
{
    Slot<RlcPanelHook>() = std::move(hook);
}

std::optional<double> RlcPanelReferenceResistor()
{
    const auto& hook = Slot<RlcPanelHook>();
    return hook ? hook() : std::nullopt;
}

void SetAnalyzerKeyHook(AnalyzerKeyHook hook)
{
    Slot<AnalyzerKeyHook>() = std::move(hook);
}

bool ForwardKeyToAnalyzer(int key)
{
    const auto& hook = Slot<AnalyzerKeyHook>();
    return hook && hook(key);
}

void SetDataSetPropertiesHook(DataSetPropertiesHook hook)
{
    Slot<DataSetPropertiesHook>() = std::move(hook);
}

void RunDataSetPropertiesDialog(CTalView& view, int index, int kind)
{
    if (const auto& hook = Slot<DataSetPropertiesHook>())
        hook(view, index, kind);
}

void SetGraphSettingsHook(GraphSettingsHook hook)
{
    Slot<GraphSettingsHook>() = std::move(hook);
}

void RunGraphSettingsDialog(CTalView& view)
{
    if (const auto& hook = Slot<GraphSettingsHook>())
        hook(view);
}
