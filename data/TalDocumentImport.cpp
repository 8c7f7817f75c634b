// Data sets that enter a document from text or are made up for demonstration, and the
// document as text for the text display.
#include <algorithm>
#include <cctype>
#include <climits>
#include <cmath>
#include <complex>
#include <cstdlib>
#include <ctime>

#include "data/ApplicationData.h"
#include "data/CLocaleNumbers.h"
#include "data/Prompter.h"
#include "data/RandomGenerator.h"
#include "data/TalDocument.h"
#include "data/TextTables.h"

namespace {

constexpr double RADIANS_TO_DEGREES = 57.29577951308232;

bool IsSpace(char c)
{
    return std::isspace(static_cast<unsigned char>(c)) != 0;
}

// True when the text at `pos` reads as a finite non-zero number (strtod rules, "C" locale).
// Non-finite values are excluded so that a line such as "Info..." or "nan..." stays a header.
bool StartsWithNonZeroNumber(const std::string& text, size_t pos)
{
    if (pos >= text.size())
        return false;
    const char* start = text.c_str() + pos;
    char* end = nullptr;
    const double value = StrtodC(start, &end);
    return end != start && value != 0 && std::isfinite(value);
}

// Reads the next number; `cursor` moves past it (stays when there is none).
double NextDouble(const char*& cursor)
{
    char* end = nullptr;
    const double value = StrtodC(cursor, &end);
    cursor = end;
    return value;
}

int NextInt(const char*& cursor)
{
    char* end = nullptr;
    const long value = std::strtol(cursor, &end, 10);
    cursor = end;
    return static_cast<int>(std::clamp<long>(value, INT_MIN, INT_MAX));
}

enum class ImportType { None, Gain, Impedance, Voltage };

struct ImportParameters {
    bool present = false;
    int outputNode;
    int inputNode;
    double scaleFactor;
};

// "Gain/Phase: Output Node=2, Input Node=1, Scale Factor=1": the values after the first,
// second and third "=".
void ReadParameterLine(const std::string& line, ImportParameters& params)
{
    params.present = true;
    size_t eq = line.find('=');
    if (eq == std::string::npos)
        return;
    const char* cursor = line.c_str() + eq + 1;
    params.outputNode = NextInt(cursor);
    eq = line.find('=', eq + 1);
    if (eq == std::string::npos)
        return;
    cursor = line.c_str() + eq + 1;
    params.inputNode = NextInt(cursor);
    eq = line.find('=', eq + 1);
    if (eq == std::string::npos)
        return;
    cursor = line.c_str() + eq + 1;
    params.scaleFactor = NextDouble(cursor);
}

bool StartsWith(const std::string& text, const char* prefix)
{
    return text.rfind(prefix, 0) == 0;
}

// Fills `set` from the data lines of `text` starting at `pos`.
void ReadDataLines(const std::string& text, size_t pos, ImportType type, CDataSet& set)
{
    const size_t shortest = type == ImportType::Voltage ? 8 : 4;
    while (pos < text.size()) {
        size_t nl = text.find('\n', pos);
        if (nl == std::string::npos)
            nl = text.size();
        const std::string line = text.substr(pos, nl - pos);
        pos = nl + 1;
        if (line.size() <= shortest)
            continue;
        const char* cursor = line.c_str();
        const double f = NextDouble(cursor);
        if (type == ImportType::Voltage) {
            const int node = NextInt(cursor);
            const double voltage = NextDouble(cursor);
            NextDouble(cursor);  // voltage in dB, derived from the voltage
            const double phase = NextDouble(cursor);
            if (f > 0)
                set.AddNodeReading(f, node, voltage, phase);
        } else {
            const double value = NextDouble(cursor);
            const double phase = NextDouble(cursor);
            if (f > 0) {
                const double magnitude =
                    type == ImportType::Gain ? std::pow(10.0, value / 20.0) : value;
                set.AddPoint(f, 1.0, 0.0, magnitude, phase);
            }
        }
    }
}

}  // namespace

void CTalDocument::AddRandomData()
{
    const int i = AddDataSet(std::make_unique<CDataSet>());
    CDataSet& set = *GetDataSet(i);

    char stamp[128] = "";
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    if (localtime_r(&now, &local))
        std::strftime(stamp, sizeof stamp, "%I:%M%p %A, %B %d, %Y", &local);
    set.m_description = std::string("Random Voltage Data\r\n") + stamp;
    set.m_name = "random";

    RandomGenerator& random = processRandom();
    const auto unit = [&random] { return random.Next() / static_cast<double>(RandomGenerator::kMax); };
    const double u0 = unit();
    const double a1 = std::pow(10.0, i / 20.0) * (1 + unit());
    const double a2 = std::pow(10.0, i / 3.0) * (1 + unit());
    const double a3 = std::pow(10.0, i / 10.0) * (1 + unit());
    const double k = std::pow(10.0, (i - 0.5 + u0) / 10.0);

    using Complex = std::complex<double>;
    const int channels = appData().channelCount;
    for (int m = 0; m < 50; ++m) {
        const double f = 10.0 * std::pow(10.0, m / 10.0) * k;
        const Complex s(0.0, f);
        const Complex h[4] = {
            (1e4 * a2 * s) * (s + 1000 * a1) / ((s + 100 * a2) * (s + 1e6 / a3) * (s + 7e5 * a3)),
            1e4 * a3 * (s + 100 * a3) / ((s + 8e4 / a1) * (s + 3e5 * a3)),
            1e4 * a1 * (s + 1e5 / a1) / ((s + 500 * a2) * (s + 1e6 * a1)),
            1e4 * a1 * (s + 1000 / a3) / ((s + 5000 * a2) * (s + 6e5 * a3)),
        };
        double v[4], p[4];
        for (int n = 0; n < 4; ++n) {
            v[n] = std::abs(h[n]);
            p[n] = std::atan2(h[n].imag(), h[n].real()) * RADIANS_TO_DEGREES;
        }
        if (channels == 2)
            set.AddPoint(f, v[0], p[0], v[1], p[1]);
        else if (channels == 3)
            set.AddPoint(f, v[0], p[0], v[1], p[1], v[2], p[2]);
        else
            set.AddPoint(f, v[0], p[0], v[1], p[1], v[2], p[2], v[3], p[3]);
    }
    SetModifiedFlag();
    UpdateAllViews(HINT_ALL);
}

int CTalDocument::ImportText(const std::string& text, int outputNode, int inputNode,
                             double scaleFactor)
{
    ImportParameters params{false, outputNode, inputNode, scaleFactor};
    ImportType type = ImportType::None;
    std::string description;
    size_t pos = 0;

    if (!StartsWithNonZeroNumber(text, 0)) {
        bool firstLine = true;
        for (;;) {
            while (pos < text.size() && IsSpace(text[pos]))
                ++pos;
            const size_t nl = text.find('\n', pos);
            if (nl == std::string::npos || text.size() - pos < 5)
                return -1;
            std::string line = text.substr(pos, nl - pos);
            pos = nl + 1;
            while (!line.empty() && IsSpace(line.back()))
                line.pop_back();
            if (!line.empty() && line.front() == '*')
                line.erase(0, 1);

            // Lines are judged without the line break that joins them to the description,
            // so that parameter and column lines are found after description lines too.
            bool isDescription = true;
            if (StartsWith(line, "Gain/Phase:") || StartsWith(line, "Impedance/Phase:")) {
                ReadParameterLine(line, params);
                isDescription = false;
            } else if (StartsWith(line, "Frequency")) {
                isDescription = false;
                if (line.find("Gain") != std::string::npos)
                    type = ImportType::Gain;
                else if (line.find("Impedance") != std::string::npos)
                    type = ImportType::Impedance;
                else if (line.find("Voltage") != std::string::npos)
                    type = ImportType::Voltage;
                else
                    isDescription = true;
            }
            if (isDescription)
                description += (firstLine ? "" : "\r\n") + line;
            firstLine = false;
            if (StartsWithNonZeroNumber(text, pos))
                break;
        }
    }

    if (type != ImportType::Gain && type != ImportType::Impedance) {
        // The first data line decides: three columns are gain in dB, anything else voltages.
        size_t end = text.find('\n', pos);
        if (end == std::string::npos)
            end = text.size();
        const auto tabs = std::count(text.begin() + static_cast<std::ptrdiff_t>(pos),
                                     text.begin() + static_cast<std::ptrdiff_t>(end), '\t');
        type = tabs == 2 ? ImportType::Gain : ImportType::Voltage;
    }

    if (type == ImportType::None) {  // guard: the rules above always settle on a type
        prompter().Message("Unknown data type.", "");
        return -1;
    }

    auto set = std::make_unique<CDataSet>();
    ReadDataLines(text, pos, type, *set);
    if (set->GetPointCount() == 0)
        return -1;
    if (type == ImportType::Voltage) {
        set->SetOutputNode(params.outputNode);
        set->SetInputNode(params.inputNode);
        set->SetScaleFactor(params.scaleFactor);
        // Node readings arrive one by one; the limits are exact only once all are in.
        set->RecalcLimits();
    }
    set->m_description = description;
    const int index = AddDataSet(std::move(set));

    if (type == ImportType::Voltage && !params.present) {
        if (CDocumentView* view = GetFirstDisplayView()) {
            UpdateAllViews(HINT_ALL);
            view->OnDataSetProperties();
        }
    }
    UpdateAllViews(HINT_ALL);
    SetModifiedFlag();
    return index;
}

std::string CTalDocument::GetTextDescription() const
{
    const CDocumentView* view = GetFirstDisplayView();
    const DisplayKind kind = view ? view->GetDisplayKind() : DisplayKind::Text;
    std::string text = "Talvern Industries Frequency Response Analysis System\r\n\r\n\r\n";
    for (const auto& set : m_dataSets) {
        text += m_title;
        text += ": Data " + std::to_string(set->m_number) + ": \r\n\r\n";
        text += FormatDataAsText(*set, kind, appData().voltageFormat);
        text += "\r\n\r\n\r\n";
    }
    return text;
}
