#include "app/prefs/PreferencesText.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>

#include "app/core/AnalyzerTypes.h"
#include "app/core/ApplicationValues.h"
#include "data/CLocaleNumbers.h"

namespace {

constexpr int kMaxMargin = 100000;
constexpr int kMaxNode = 4;
constexpr int kMaxColor = 0xFFFFFF;

const char* const kFamilyHeaders[] = {
    "880 System Dialog Preferences=\r\n",  "2688 System Dialog Preferences=\r\n",
    "2600 System Dialog Preferences=\r\n", "1800 System Dialog Preferences=\r\n",
    "1960 System Dialog Preferences=\r\n", "945 System Dialog Preferences=\r\n",
    "915 System Analyzer Dialog Preferences=\r\n", "965 System Dialog Preferences=\r\n",
    "6088 System Dialog Preferences=\r\n",
};

bool IsCSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// How a block is delimited: the cursor moves a fixed count past the start of each marker, or,
// for line markers, past the line end that must follow the marker.
struct BlockMarkers {
    std::string_view begin;
    size_t beginSkip;
    std::string_view end;
    size_t endSkip;
    bool lineMarkers;
};

constexpr BlockMarkers kMarkers6{"***BEGIN***", 13, "***END***", 11, false};
constexpr BlockMarkers kSynthesisMarkers6{"***BEGIN***", 13, "***END_SYNTH***", 11, false};
constexpr BlockMarkers kMarkersOld{"***BEGIN***", 12, "***END***", 10, false};
constexpr BlockMarkers kSynthesisMarkers4{"***BEGIN***", 12, "***END_SYNTH***", 10, false};
constexpr BlockMarkers kMarkersFirst{"***BEGIN***", 0, "***END***", 0, true};

class PreferencesParser {
public:
    PreferencesParser(const std::string& text, ApplicationValues& values)
        : m_text(text), m_values(values)
    {
    }

    bool Parse()
    {
        if (!Advance())
            return false;
        switch (At()) {
        case '6':
            return Version6();
        case '5':
            return Version5();
        case '4':
            return Version4();
        case '3':
            return Version3Or2(true);
        case '2':
            return Version3Or2(false);
        case 'T':
        case 'F':
            return FirstVersion();
        default:
            return true;
        }
    }

private:
    bool Version6()
    {
        ApplicationData& shared = m_values.shared;
        return Skip() && Skip() && Int(m_values.portAddress965, INT_MIN, INT_MAX) && Skip() &&
               Skip() && Skip() && Flag(shared.voltageFormat) && Page() &&
               Blocks({PreferenceBlock::Family880, PreferenceBlock::Family2688,
                       PreferenceBlock::Family2600, PreferenceBlock::Series1800,
                       PreferenceBlock::Family1960, PreferenceBlock::Family945,
                       PreferenceBlock::Family915, PreferenceBlock::Family965,
                       PreferenceBlock::Family6088},
                      kMarkers6) &&
               Block(PreferenceBlock::Synthesis, kSynthesisMarkers6) && Nodes() && Skip() &&
               Colors();
    }

    bool Version5()
    {
        return Int(m_values.interfaceIndex, 0, kMaxInterfaceIndex) && BothAddresses() &&
               Int(m_values.portAddress965, INT_MIN, INT_MAX) && Skip() && Skip() &&
               Int(m_values.defaultPlotType, 0, kMaxPlotType) &&
               Flag(m_values.shared.voltageFormat) && Page() &&
               Blocks({PreferenceBlock::Family880, PreferenceBlock::Family2688,
                       PreferenceBlock::Series1800, PreferenceBlock::Family1960,
                       PreferenceBlock::Family945, PreferenceBlock::Family915,
                       PreferenceBlock::Family965, PreferenceBlock::Family6088},
                      kMarkers6) &&
               Block(PreferenceBlock::Synthesis, kSynthesisMarkers6) && Nodes() && Scale() &&
               Colors();
    }

    bool Version4()
    {
        return OldHead() &&
               Blocks({PreferenceBlock::Family880, PreferenceBlock::Family1960,
                       PreferenceBlock::Family945, PreferenceBlock::Family915,
                       PreferenceBlock::Family965, PreferenceBlock::Family6088},
                      kMarkersOld) &&
               Block(PreferenceBlock::Synthesis, kSynthesisMarkers4) && Nodes() && Scale() &&
               Colors();
    }

    bool Version3Or2(bool with6088)
    {
        if (!OldHead() ||
            !Blocks({PreferenceBlock::Family880, PreferenceBlock::Family945,
                     PreferenceBlock::Family915, PreferenceBlock::Family965},
                    kMarkersOld))
            return false;
        if (with6088 && !Block(PreferenceBlock::Family6088, kMarkersOld))
            return false;
        return Block(PreferenceBlock::Synthesis, kMarkersOld);
    }

    bool FirstVersion()
    {
        return Skip() && Skip() && Skip() && Flag(m_values.shared.voltageFormat) && Page() &&
               Blocks({PreferenceBlock::Family880, PreferenceBlock::Family945,
                       PreferenceBlock::Family915, PreferenceBlock::Family965,
                       PreferenceBlock::Synthesis},
                      kMarkersFirst);
    }

    // Versions 4 to 2 up to the page setup.
    bool OldHead()
    {
        const GpibAddressRange addresses = GpibAddressesOf(m_values.analyzerType);
        return Int(m_values.gpibAddressApplication, addresses.minimum, addresses.maximum) &&
               Int(m_values.portAddress965, INT_MIN, INT_MAX) && Skip() && Skip() &&
               Int(m_values.defaultPlotType, 0, kMaxPlotType) &&
               Flag(m_values.shared.voltageFormat) && Page();
    }

    bool BothAddresses()
    {
        if (!Advance())
            return false;
        const int address = LeadingInt();
        if (const GpibAddressRange addresses = GpibAddressesOf(m_values.analyzerType);
            address >= addresses.minimum && address <= addresses.maximum) {
            m_values.gpibAddressApplication = address;
            m_values.gpibAddressAnalyzer = address;
        }
        return true;
    }

    bool Page()
    {
        PageSetup& page = m_values.page;
        return Int(page.orientation, 1, 2) && Int(page.marginTop, 0, kMaxMargin) &&
               Int(page.marginLeft, 0, kMaxMargin) && Int(page.marginBottom, 0, kMaxMargin) &&
               Int(page.marginRight, 0, kMaxMargin) && Int(page.minMarginTop, 0, kMaxMargin) &&
               Int(page.minMarginLeft, 0, kMaxMargin) &&
               Int(page.minMarginBottom, 0, kMaxMargin) && Int(page.minMarginRight, 0, kMaxMargin);
    }

    bool Nodes()
    {
        return Int(m_values.shared.defaultInputNode, 1, kMaxNode) &&
               Int(m_values.shared.defaultOutputNode, 1, kMaxNode);
    }

    bool Colors()
    {
        ApplicationData& shared = m_values.shared;
        return Color(shared.defaultGainColor) && Color(shared.defaultPhaseColor) &&
               Color(shared.defaultNodeColor[0]) && Color(shared.defaultNodeColor[1]) &&
               Color(shared.defaultNodeColor[2]);
    }

    bool Blocks(std::initializer_list<PreferenceBlock> blocks, const BlockMarkers& markers)
    {
        for (PreferenceBlock block : blocks) {
            if (!Block(block, markers))
                return false;
        }
        return true;
    }

    // Moves the cursor just past the next "=".
    bool Advance()
    {
        if (m_pos >= m_text.size())
            return false;
        const size_t equals = m_text.find('=', m_pos);
        if (equals == std::string::npos)
            return false;
        m_pos = equals + 1;
        return true;
    }

    char At() const { return m_pos < m_text.size() ? m_text[m_pos] : '\0'; }

    bool Skip() { return Advance(); }

    bool Flag(bool& target)
    {
        if (!Advance())
            return false;
        target = At() == 'T';
        return true;
    }

    bool Int(int& target, int min, int max)
    {
        if (!Advance())
            return false;
        const int value = LeadingInt();
        if (value >= min && value <= max)
            target = value;
        return true;
    }

    bool Color(uint32_t& target)
    {
        int value = -1;
        if (!Int(value, 0, kMaxColor))
            return false;
        if (value >= 0)
            target = static_cast<uint32_t>(value);
        return true;
    }

    bool Scale()
    {
        if (!Advance())
            return false;
        char* end = nullptr;
        const double value = StrtodC(m_text.c_str() + m_pos, &end);
        if (std::isfinite(value))
            m_values.shared.defaultScaleFactor = value;
        return true;
    }

    // The decimal integer at the cursor after white space, saturated to the int range; 0 when
    // there is none.
    int LeadingInt() const
    {
        size_t i = m_pos;
        while (i < m_text.size() && IsCSpace(m_text[i]))
            ++i;
        bool negative = false;
        if (i < m_text.size() && (m_text[i] == '-' || m_text[i] == '+'))
            negative = m_text[i++] == '-';
        int64_t value = 0;
        for (; i < m_text.size() && IsDigit(m_text[i]); ++i) {
            if (value <= INT_MAX)
                value = value * 10 + (m_text[i] - '0');
        }
        if (negative)
            value = -value;
        if (value > INT_MAX)
            return INT_MAX;
        if (value < INT_MIN)
            return INT_MIN;
        return static_cast<int>(value);
    }

    // The position just past the line end that follows `at`, or npos when none follows.
    size_t PastLineEnd(size_t at) const
    {
        if (at < m_text.size() && m_text[at] == '\r')
            ++at;
        return at < m_text.size() && m_text[at] == '\n' ? at + 1 : std::string::npos;
    }

    // A marker at or after `from`; for line markers only one that a line end follows. Returns
    // the marker's start and sets `after` to where the cursor goes past it.
    size_t FindMarker(std::string_view marker, size_t skip, bool lineMarker, size_t from,
                      size_t& after) const
    {
        for (size_t at = m_text.find(marker, from); at != std::string::npos;
             at = m_text.find(marker, at + 1)) {
            if (!lineMarker) {
                after = at + skip;
                return at;
            }
            after = PastLineEnd(at + marker.size());
            if (after != std::string::npos)
                return at;
        }
        return std::string::npos;
    }

    // A block's begin marker follows its header with no other "=" between, and its text
    // holds no begin marker; otherwise a marker is missing and the markers found belong to
    // a later block.
    bool Block(PreferenceBlock block, const BlockMarkers& markers)
    {
        if (!Advance())
            return false;
        size_t start = 0;
        const size_t begin =
            FindMarker(markers.begin, markers.beginSkip, markers.lineMarkers, m_pos, start);
        if (begin == std::string::npos || start > m_text.size() ||
            m_text.find('=', m_pos) < begin)
            return false;
        size_t next = 0;
        const size_t end =
            FindMarker(markers.end, markers.endSkip, markers.lineMarkers, start, next);
        // A block text holding its own end marker (an old layout's marker without its line
        // end) would end early once written in the current layout: it counts as damaged.
        const std::string_view text = std::string_view(m_text).substr(start, end - start);
        if (end == std::string::npos || text.find(markers.begin) != std::string_view::npos ||
            text.find(markers.end) != std::string_view::npos)
            return false;
        m_values.Block(block) = m_text.substr(start, end - start);
        m_pos = std::min(next, m_text.size());
        return true;
    }

    const std::string& m_text;
    ApplicationValues& m_values;
    size_t m_pos = 0;
};

}  // namespace

std::string FormatPreferences(const ApplicationValues& values)
{
    const ApplicationData& shared = values.shared;
    const PageSetup& page = values.page;
    std::string text = "\n* The following parameters are from the Talvern Application:\n";
    text += "CTalvernApp Version=6\n";
    text += FormatC("Interface Name(deprecated)=%i\n", values.interfaceIndex);
    text += FormatC("GPIB Address(deprecated)=%i\n", values.gpibAddressApplication);
    text += FormatC("965 Port Address=%i\n", values.portAddress965);
    text += "Analyzer Type (";
    bool first = true;
    for (const AnalyzerTypeInfo& type : AnalyzerTypeTable()) {
        text += FormatC("%s%i:%s", first ? "" : ", ", type.id, type.code);
        first = false;
    }
    text += FormatC(")=%i\n", values.analyzerType);
    text += "965 Version (0:Version A, 1:Version B)=0\n";
    text += FormatC("Initial Plot Type (0:gain, 1:imp, 2:volt, 3:text, 4:nyq) (deprecated)=%i\n",
                    values.defaultPlotType);
    text += std::string("Voltage Format for Editing=") + (shared.voltageFormat ? "True" : "False") +
            "\n";
    text += FormatC("Page Orientation Number=%i\n", page.orientation);
    text += FormatC("Page Margin Top=%i\n", page.marginTop);
    text += FormatC("Page Margin Left=%i\n", page.marginLeft);
    text += FormatC("Page Margin Bottom=%i\n", page.marginBottom);
    text += FormatC("Page Margin Right=%i\n", page.marginRight);
    text += FormatC("Page Minimum Margin Top=%i\n", page.minMarginTop);
    text += FormatC("Page Minimum Margin Left=%i\n", page.minMarginLeft);
    text += FormatC("Page Minimum Margin Bottom=%i\n", page.minMarginBottom);
    text += FormatC("Page Minimum Margin Right=%i\n", page.minMarginRight);
    for (int i = 0; i < kPreferenceBlockCount - 1; ++i) {
        text += kFamilyHeaders[i];
        text += "***BEGIN***\r\n";
        text += values.Block(static_cast<PreferenceBlock>(i));
        text += "***END***\r\n";
    }
    text += "Synthesis Dialog Preferences=\n***BEGIN***\n";
    text += values.Block(PreferenceBlock::Synthesis);
    text += "***END_SYNTH***\n";
    text += FormatC("Current or Input Node=%d\n", shared.defaultInputNode);
    text += FormatC("Voltage or Output Node=%d\n", shared.defaultOutputNode);
    text += FormatC("Scale Factor(deprecated)=%f\n", shared.defaultScaleFactor);
    text += FormatC("Gain or Imp Color=%d\n", static_cast<int>(shared.defaultGainColor));
    text += FormatC("Phase Color=%d\n", static_cast<int>(shared.defaultPhaseColor));
    text += FormatC("Volt 1 Color=%d\n", static_cast<int>(shared.defaultNodeColor[0]));
    text += FormatC("Volt 2 Color=%d\n", static_cast<int>(shared.defaultNodeColor[1]));
    text += FormatC("Volt 3 Color=%d\n", static_cast<int>(shared.defaultNodeColor[2]));
    return text;
}

std::string PreferencesTextAsRead(std::string_view bytes)
{
    std::string text;
    text.reserve(bytes.size() + bytes.size() / 8 + 2);
    std::string piece;
    size_t i = 0;
    while (i < bytes.size()) {
        piece.clear();
        while (i < bytes.size() && piece.size() < kPreferencesPieceLength) {
            const char c = bytes[i++];
            if (c == '\r' && i < bytes.size() && bytes[i] == '\n')
                continue;  // text mode: "\r\n" is one line end
            piece += c;
            if (c == '\n')
                break;
        }
        size_t length = piece.size();
        while (length > 0 && IsCSpace(piece[length - 1]))
            --length;
        text.append(piece, 0, length);
        text += "\r\n";
    }
    return text;
}

bool ParsePreferences(const std::string& text, ApplicationValues& values)
{
    return PreferencesParser(text, values).Parse();
}
