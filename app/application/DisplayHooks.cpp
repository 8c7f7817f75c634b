#include "app/application/DisplayHooks.h"

#include "app/core/ApplicationValues.h"
#include "app/frame/ChildFrame.h"
#include "app/frame/DocManager.h"
#include "views/base/TalView.h"
#include "views/base/ViewHooks.h"
#include "views/base/ViewPrinting.h"

void InstallDisplayHooks(CDocManager& docs, std::function<CDocTemplate*(DisplayKind)> extraTemplate,
                         const PageSetup& page)
{
    // A window of the same kind as `like` on a document the manager holds.
    SetNewDisplayWindowHook([&docs, extraTemplate](CTalDocument* document, CTalView* like) -> CTalView* {
        if (!document || !like)
            return nullptr;
        CDocTemplate* docTemplate = extraTemplate(like->GetDisplayKind());
        CChildFrame* frame = docTemplate ? docs.CreateFrame(document, *docTemplate) : nullptr;
        return frame ? qobject_cast<CTalView*>(frame->Display()) : nullptr;
    });
    // Read at every print, so that a Page Setup made meanwhile applies.
    SetPageSetupHook([&page] {
        PageMargins margins;
        margins.marginLeft = page.marginLeft;
        margins.marginTop = page.marginTop;
        margins.marginRight = page.marginRight;
        margins.marginBottom = page.marginBottom;
        margins.minLeft = page.minMarginLeft;
        margins.minTop = page.minMarginTop;
        margins.minRight = page.minMarginRight;
        margins.minBottom = page.minMarginBottom;
        margins.orientation = page.orientation;
        return margins;
    });
}

void RemoveDisplayHooks()
{
    SetNewDisplayWindowHook(nullptr);
    SetPageSetupHook(nullptr);
}
