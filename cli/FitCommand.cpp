#include <cmath>
#include <cstdio>
#include <iostream>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "cli/JsonWriter.h"
#include "data/CLocaleNumbers.h"
#include "data/TalDocument.h"
#include "rlc/model/CircuitKind.h"
#include "rlc/model/ModelChoice.h"
#include "rlc/model/ModelRefinement.h"

namespace {

// The values a kind uses, with their names: "R", "L" (or "Rp" for kind 8), "C".
struct NamedValue {
    const char* name;
    double value;
};

std::vector<NamedValue> UsedValuesOf(int kind, const ModelValues& v)
{
    const UsedValues used = ValuesUsedBy(kind);
    std::vector<NamedValue> values;
    if (used.r)
        values.push_back({"R", v.r});
    if (used.second)
        values.push_back({kind == KIND_R_PLUS_R_PAR_C ? "Rp" : "L", v.second});
    if (used.c)
        values.push_back({"C", v.c});
    return values;
}

// A known value as its shortest exact text, an unknown one (-1) as null.
double KnownOrNan(double value)
{
    return value >= 0 ? value : std::numeric_limits<double>::quiet_NaN();
}

void JsonValues(JsonWriter& json, const char* key, int kind, const ModelValues& values)
{
    json.Key(key);
    json.BeginObject();
    for (const NamedValue& v : UsedValuesOf(kind, values))
        json.Field(v.name, KnownOrNan(v.value));
    json.EndObject();
}

void PrintJson(const ModelRefinement& fit, const std::vector<RankedModel>* ranking)
{
    JsonWriter json(std::cout);
    json.BeginObject();
    json.Field("kind", CircuitKindText(fit.kind));
    JsonValues(json, "estimate", fit.kind, fit.estimate);
    JsonValues(json, "refined", fit.kind, fit.refined);
    json.Field("residual", KnownOrNan(fit.residual));
    JsonValues(json, "uncertainty", fit.kind, fit.uncertainty);
    json.Field("converged", fit.converged);
    if (ranking) {
        json.Key("ranking");
        json.BeginArray();
        for (const RankedModel& ranked : *ranking) {
            json.BeginObject();
            json.Field("kind", CircuitKindText(ranked.refinement.kind));
            json.Field("residual", KnownOrNan(ranked.refinement.residual));
            JsonValues(json, "refined", ranked.refinement.kind, ranked.refinement.refined);
            json.EndObject();
        }
        json.EndArray();
    }
    json.EndObject();
    std::cout << '\n';
}

std::string ValueText(double value)
{
    return value >= 0 ? FormatC("%.6e", value) : "N/A";
}

void PrintValuesLine(const char* label, int kind, const ModelValues& values)
{
    std::string line = FormatC("%-12s", label);
    for (const NamedValue& v : UsedValuesOf(kind, values))
        line += FormatC("  %-2s %-13s", v.name, ValueText(v.value).c_str());
    line.erase(line.find_last_not_of(' ') + 1);
    std::cout << line << '\n';
}

void PrintText(const ModelRefinement& fit, const std::vector<RankedModel>* ranking)
{
    if (ranking) {
        std::cout << "rank  kind            residual  values\n";
        int rank = 0;
        for (const RankedModel& ranked : *ranking) {
            std::cout << FormatC("%4d  %-14s  %-8s", ++rank, CircuitKindText(ranked.refinement.kind).c_str(),
                                 ranked.refinement.residual >= 0 ? FormatC("%.2e", ranked.refinement.residual).c_str()
                                                                  : "N/A");
            for (const NamedValue& v : UsedValuesOf(ranked.refinement.kind, ranked.refinement.refined))
                std::cout << FormatC("  %s=%s", v.name, ValueText(v.value).c_str());
            std::cout << '\n';
        }
        std::cout << '\n';
    }
    std::cout << "kind        " << CircuitKindText(fit.kind) << '\n';
    PrintValuesLine("estimate", fit.kind, fit.estimate);
    PrintValuesLine("refined", fit.kind, fit.refined);
    PrintValuesLine("uncertainty", fit.kind, fit.uncertainty);
    std::cout << FormatC("residual    %s relative RMS over %d points (estimate %s)%s\n",
                         fit.residual >= 0 ? FormatC("%.3e", fit.residual).c_str() : "N/A", fit.points,
                         std::isfinite(fit.estimateResidual) ? FormatC("%.3e", fit.estimateResidual).c_str() : "N/A",
                         fit.converged ? ", converged" : ", not converged");
}

}  // namespace

int RunFit(const Arguments& args)
{
    const ParsedArguments parsed = ParseArguments(args, {"--set", "--kind"}, {"--json"}, 1, "one DOC.tal");
    const std::string* setText = parsed.Value("--set");
    const std::string* kindText = parsed.Value("--kind");
    if (!setText || !kindText)
        throw UsageError("fit needs --set NUMBER and --kind K|auto");
    const long long number = ParseBoundedInteger(*setText, "--set", 1, std::numeric_limits<int32_t>::max());
    const bool automatic = *kindText == "auto";
    const std::optional<int> kind = automatic ? std::nullopt : ParseCircuitKind(*kindText);
    if (!automatic && !kind)
        throw UsageError("--kind must be a kind's list text (such as 'R + L' or R+L), its position 0-10 "
                         "or auto, not '" + *kindText + "'");

    const std::string& path = parsed.positional[0];
    CTalDocument document;
    LoadDocumentOrThrow(document, path);
    const CDataSet& set = *document.GetDataSet(DataSetIndexByNumber(document, number, path));

    std::vector<RankedModel> ranking;
    std::optional<ModelRefinement> fit;
    if (automatic) {
        ranking = RankModels(set);
        if (!ranking.empty())
            fit = ranking.front().refinement;
    } else {
        fit = RefineModel(set, *kind);
    }
    if (!fit || !(fit->residual >= 0)) {
        std::cerr << "talvern-cli: data set " << number << " has too few usable points to fit\n";
        return kExitFailure;
    }
    if (parsed.Flag("--json"))
        PrintJson(*fit, automatic ? &ranking : nullptr);
    else
        PrintText(*fit, automatic ? &ranking : nullptr);
    return kExitOk;
}
