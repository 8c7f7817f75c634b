#include "rlc/model/ModelPage.h"

#include <algorithm>

#include "data/CLocaleNumbers.h"
#include "data/EngineeringNotation.h"
#include "data/TalDocument.h"
#include "rlc/model/CircuitKind.h"
#include "rlc/model/ModelChoice.h"
#include "rlc/model/ModelPlot.h"

namespace {

constexpr int kWithoutParasiticsRole = 5;
constexpr int kFitDigits = 3;

void Show(ModelValueField& field, bool used, double value, bool refined)
{
    if (!used)
        return;
    field.value = value;
    field.precision = kFitDigits;
    field.text = value > 0 ? FormatEngineering(value, kFitDigits) : "N/A";
    field.refined = refined && value > 0;
}

}  // namespace

std::vector<std::string> ModelPage::DataSetEntries(const CTalDocument& document)
{
    std::vector<std::string> entries;
    for (int i = 0; i < document.GetDataSetCount(); ++i) {
        const int number = document.GetDataSetNumber(i);
        const std::string name = document.GetDataSetName(i);
        entries.push_back(name.empty() ? FormatC("%i", number) : FormatC("%i_%s", number, name.c_str()));
    }
    return entries;
}

void ModelPage::RefillDataSetList(const CTalDocument& document)
{
    const int count = document.GetDataSetCount();
    if (count == 0) {
        m_selected = -1;
    } else if (m_lastDataSetChoice >= 0) {
        m_selected = std::min(m_lastDataSetChoice, count - 1);
    } else {
        m_selected = 0;
        for (int i = 0; i < count; ++i)
            if (document.GetCalibrationRole(i) == kWithoutParasiticsRole)
                m_selected = i;
    }
}

void ModelPage::ChooseDataSet(int position, const CTalDocument& document)
{
    if (position < 0 || position >= document.GetDataSetCount())
        return;
    m_lastDataSetChoice = position;
    m_selected = position;
    Fit(document);
}

void ModelPage::ChooseKind(int kind, const CTalDocument& document)
{
    if (!IsCircuitKind(kind))
        return;
    m_kind = kind;
    RefillDataSetList(document);
    Fit(document);
}

void ModelPage::Fit(const CTalDocument& document)
{
    const CDataSet* set = document.GetDataSet(m_selected);
    if (!IsCircuitKind(m_kind) || !set)
        return;
    m_r = m_second = m_c = ModelValueField{};
    m_refinement.reset();
    if (const auto fitted = FitModel(*set, m_kind))
        ShowValues(*fitted, false);
}

void ModelPage::Refine(const CTalDocument& document)
{
    const CDataSet* set = document.GetDataSet(m_selected);
    if (!IsCircuitKind(m_kind) || !set)
        return;
    auto refinement = RefineModel(*set, m_kind);
    if (!refinement || !(refinement->residual >= 0))
        return;
    m_r = m_second = m_c = ModelValueField{};
    ShowValues(refinement->refined, true);
    m_refinement = std::move(refinement);
}

void ModelPage::BestFit(const CTalDocument& document)
{
    if (m_selected < 0)
        RefillDataSetList(document);
    const CDataSet* set = document.GetDataSet(m_selected);
    if (!set)
        return;
    const std::vector<RankedModel> ranking = RankModels(*set);
    if (ranking.empty() || !(ranking.front().refinement.residual >= 0))
        return;
    m_kind = ranking.front().refinement.kind;
    m_r = m_second = m_c = ModelValueField{};
    ShowValues(ranking.front().refinement.refined, true);
    m_refinement = ranking.front().refinement;
}

void ModelPage::ShowValues(const ModelValues& values, bool refined)
{
    const UsedValues used = ValuesUsedBy(m_kind);
    Show(m_r, used.r, values.r, refined);
    Show(m_second, used.second, values.second, refined);
    Show(m_c, used.c, values.c, refined);
}

int ModelPage::CreatePlot(CTalDocument& document) const
{
    if (!IsCircuitKind(m_kind) || m_selected < 0)
        return -1;
    return CreateModelPlot(document, m_selected, m_kind, Values());
}

void ModelPage::Commit(ModelValueField& field, const std::string& text)
{
    CommitText(field, text);
    m_refinement.reset();
    m_r.refined = m_second.refined = m_c.refined = false;
}

void ModelPage::CommitText(ModelValueField& field, const std::string& text)
{
    field.value = ParseEngineering(text);
    field.text = FormatEngineering(field.value, field.precision);
}
