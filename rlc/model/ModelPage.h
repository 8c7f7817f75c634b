#pragma once
// The Model page's logic (RLCDialogTabModel without its widgets): the chosen kind and data set,
// the three value fields with their texts and committed values, the fit into those fields and
// "Create Plot". The page reads the active document afresh for every step.
#include <string>
#include <vector>

#include "rlc/model/ModelFit.h"

class CTalDocument;

// An engineering-notation value field: the text shown and the committed value behind it.
struct ModelValueField {
    std::string text;
    double value = -1;
    int precision = 4;  // significant digits of the text made from the value
};

class ModelPage {
public:
    // "Dataset:" entries of the document: "%i_%s" (number, name) or "%i" for an empty name.
    static std::vector<std::string> DataSetEntries(const CTalDocument& document);

    // Refills the list: the selection becomes m_lastDataSetChoice (limited to the last entry),
    // else the last data set with calibration role 5, else the first entry (-1 when empty).
    void RefillDataSetList(const CTalDocument& document);
    // The user picked list position `position`: remembered, then fitted.
    void ChooseDataSet(int position, const CTalDocument& document);
    // The user picked a kind: the list is refilled and the fit runs.
    void ChooseKind(int kind, const CTalDocument& document);
    // Clears the fields and fills those the kind uses: the estimate with 3 significant digits,
    // "N/A" where the rule gives no positive value. Nothing without a kind or data set.
    void Fit(const CTalDocument& document);
    // "Create Plot" with the committed values; the new data set's index or -1.
    int CreatePlot(CTalDocument& document) const;

    // The user typed into a field and committed it (Enter or focus lost).
    static void CommitText(ModelValueField& field, const std::string& text);
    ModelValues Values() const { return {m_r.value, m_second.value, m_c.value}; }

    int Kind() const { return m_kind; }
    int SelectedPosition() const { return m_selected; }
    int m_lastDataSetChoice = -1;
    ModelValueField m_r, m_second, m_c;

private:
    int m_kind = -1;
    int m_selected = -1;
};
