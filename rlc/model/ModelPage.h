#pragma once
// The Model page's logic (RLCDialogTabModel without its widgets): the chosen kind and data set,
// the three value fields with their texts and committed values, the fit into those fields and
// "Create Plot". The page reads the active document afresh for every step.
#include <optional>
#include <string>
#include <vector>

#include "rlc/model/ModelFit.h"
#include "rlc/model/ModelRefinement.h"

class CTalDocument;

// An engineering-notation value field: the text shown and the committed value behind it.
struct ModelValueField {
    std::string text;
    double value = -1;
    int precision = 4;  // significant digits of the text made from the value
    bool refined = false;  // holds the refinement's value (not the estimate or a typed one)
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
    // "Refine": the least-squares values into the fields (3 significant digits, the full value
    // committed), the refinement kept for its residual and uncertainties. Nothing without a
    // kind or data set, or when the set cannot be refined.
    void Refine(const CTalDocument& document);
    // "Best Fit": the kind ranked best for the chosen data set (the list's default one when
    // none was chosen yet), refined.
    void BestFit(const CTalDocument& document);
    // The refinement the fields show; none after an estimate or once the user typed a value.
    const std::optional<ModelRefinement>& Refinement() const { return m_refinement; }
    // "Create Plot" with the committed values; the new data set's index or -1.
    int CreatePlot(CTalDocument& document) const;

    // The user typed into a field and committed it (Enter or focus lost): the fields no
    // longer show the refinement.
    void Commit(ModelValueField& field, const std::string& text);
    static void CommitText(ModelValueField& field, const std::string& text);
    ModelValues Values() const { return {m_r.value, m_second.value, m_c.value}; }

    int Kind() const { return m_kind; }
    int SelectedPosition() const { return m_selected; }
    int m_lastDataSetChoice = -1;
    ModelValueField m_r, m_second, m_c;

private:
    void ShowValues(const ModelValues& values, bool refined);

    int m_kind = -1;
    int m_selected = -1;
    std::optional<ModelRefinement> m_refinement;
};
