#pragma once
// The one place that creates displays. A display is a QWidget that implements CDocumentView
// and CommandTarget for its document; the child frame that holds it attaches it to the
// document after creation and detaches it before destroying it.
#include "data/DocumentView.h"

class CTalDocument;
class QWidget;

QWidget* CreateDisplay(DisplayKind kind, CTalDocument* doc, QWidget* parent);
