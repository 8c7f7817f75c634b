#pragma once
// A plain display standing in for a display kind this build does not draw yet: it names its
// kind and counts the document's data sets.
#include <QWidget>

#include "data/DocumentView.h"
#include "views/command/CommandTarget.h"

class CTalDocument;

class PlaceholderDisplay : public QWidget, public CDocumentView, public CommandTarget {
public:
    PlaceholderDisplay(DisplayKind kind, CTalDocument* doc, QWidget* parent);
    ~PlaceholderDisplay() override;

    DisplayKind GetDisplayKind() const override { return m_kind; }
    void AddDataSetAttributes(int) override { update(); }
    void RemoveDataSetAttributes(int) override { update(); }
    void RefreshDescriptionDialog(int) override {}
    void OnUpdate(int) override { update(); }
    void StoreDisplayState(DisplayState& state) const override { state = m_state; }
    void LoadDisplayState(const DisplayState& state) override { m_state = state; }

    // Add Random Data, so that a document gets contents without an analyzer.
    bool OnCommand(int id) override;
    bool OnUpdateCommand(int id, CommandUi& ui) override;

    // "Impedance and Phase Plot: 2 data sets".
    QString Caption() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    DisplayKind m_kind;
    CTalDocument* m_doc;
    DisplayState m_state;
};
