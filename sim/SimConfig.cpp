#include "sim/SimConfig.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <optional>

namespace talsim {

namespace {

constexpr std::size_t kMaxTextLength = 65536;
constexpr std::size_t kMaxPairLength = 1024;
constexpr std::size_t kMaxIdnLength = 128;
constexpr std::size_t kMaxCapabilityLength = 32;
constexpr std::size_t kMaxOthers = 8;

std::string_view Trim(std::string_view s)
{
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front())))
        s.remove_prefix(1);
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back())))
        s.remove_suffix(1);
    return s;
}

// A decimal number with an optional SI prefix letter (1k, 4.7u, 2.5M); the whole text must be used.
std::optional<double> ParseNumber(std::string_view text)
{
    text = Trim(text);
    if (text.empty() || text.size() > 64)
        return std::nullopt;
    std::string s(text);
    double scale = 1.0;
    static constexpr std::string_view kPrefixes = "afpnumkMGT";
    static constexpr double kScales[] = {1e-18, 1e-15, 1e-12, 1e-9, 1e-6, 1e-3, 1e3, 1e6, 1e9, 1e12};
    if (const auto p = kPrefixes.find(s.back()); p != std::string_view::npos) {
        scale = kScales[p];
        s.pop_back();
    }
    if (s.empty())
        return std::nullopt;
    errno = 0;
    char* end = nullptr;
    const double value = std::strtod(s.c_str(), &end);
    if (end != s.c_str() + s.size() || errno == ERANGE || !std::isfinite(value))
        return std::nullopt;
    const double scaled = value * scale;
    if (!std::isfinite(scaled))
        return std::nullopt;
    return scaled;
}

std::optional<double> ParseInRange(std::string_view text, double low, double high)
{
    const auto v = ParseNumber(text);
    if (!v || *v < low || *v > high)
        return std::nullopt;
    return v;
}

std::optional<long> ParseInteger(std::string_view text, long low, long high)
{
    text = Trim(text);
    if (text.empty() || text.size() > 12)
        return std::nullopt;
    long value = 0;
    for (char ch : text) {
        if (ch < '0' || ch > '9')
            return std::nullopt;
        value = value * 10 + (ch - '0');
    }
    if (value < low || value > high)
        return std::nullopt;
    return value;
}

bool Printable(std::string_view s)
{
    return std::all_of(s.begin(), s.end(), [](char ch) { return ch >= 0x20 && ch < 0x7F; });
}

std::vector<std::string_view> Split(std::string_view s, char sep)
{
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    while (true) {
        const std::size_t p = s.find(sep, start);
        parts.push_back(s.substr(start, p == std::string_view::npos ? std::string_view::npos : p - start));
        if (p == std::string_view::npos)
            return parts;
        start = p + 1;
    }
}

std::string CompactLower(std::string_view s)
{
    std::string out;
    for (char ch : s)
        if (!std::isspace(static_cast<unsigned char>(ch)))
            out.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(ch))));
    return out;
}

std::optional<DutModel::Kind> ParseKind(std::string_view text)
{
    static constexpr std::string_view kNames[] = {
        "r", "l", "c", "r+l", "r+c", "r+l+c", "r||l", "r||c", "r+(r||c)", "r+(l||c)", "r||l||c",
        "lowpass", "highpass"};
    const std::string key = CompactLower(text);
    for (std::size_t i = 0; i < std::size(kNames); ++i)
        if (key == kNames[i])
            return static_cast<DutModel::Kind>(i);
    if (const auto index = ParseInteger(key, 0, 10))
        return static_cast<DutModel::Kind>(*index);
    return std::nullopt;
}

// Which values a kind needs: bit 0 R, 1 L, 2 C, 3 Rp, 4 fc, 5 k (optional).
unsigned ValuesOf(DutModel::Kind kind)
{
    switch (kind) {
    case DutModel::R: return 0x1;
    case DutModel::L: return 0x2;
    case DutModel::C: return 0x4;
    case DutModel::RSeriesL: case DutModel::RParallelL: return 0x3;
    case DutModel::RSeriesC: case DutModel::RParallelC: return 0x5;
    case DutModel::RSeriesLSeriesC: case DutModel::RSeriesLParallelC: case DutModel::RParallelLParallelC: return 0x7;
    case DutModel::RSeriesRpParallelC: return 0xD;
    case DutModel::LowPass: case DutModel::HighPass: return 0x30;
    }
    return 0;
}

// "<kind>:<name>=<value>,..."; every value the kind uses must be given and nothing else.
std::optional<DutModel> ParseDut(std::string_view text)
{
    const std::size_t colon = text.find(':');
    const auto kind = ParseKind(text.substr(0, colon));
    if (!kind)
        return std::nullopt;
    DutModel dut;
    dut.kind = *kind;
    const unsigned wanted = ValuesOf(*kind);
    unsigned given = 0;
    if (colon != std::string_view::npos) {
        for (std::string_view item : Split(text.substr(colon + 1), ',')) {
            const std::size_t eq = item.find('=');
            if (eq == std::string_view::npos)
                return std::nullopt;
            const std::string name = CompactLower(item.substr(0, eq));
            static constexpr std::string_view kNames[] = {"r", "l", "c", "rp", "fc", "k"};
            const auto it = std::find(std::begin(kNames), std::end(kNames), name);
            if (it == std::end(kNames))
                return std::nullopt;
            const unsigned bit = 1u << (it - std::begin(kNames));
            if (!(wanted & bit) || (given & bit))
                return std::nullopt;
            const auto value = ParseInRange(item.substr(eq + 1), 0.0, 1e15);
            if (!value)
                return std::nullopt;
            given |= bit;
            double* const targets[] = {&dut.r, &dut.l, &dut.c, &dut.rp, &dut.fc, &dut.k};
            *targets[it - std::begin(kNames)] = *value;
        }
    }
    const unsigned required = wanted & ~0x20u;
    if ((given & required) != required)
        return std::nullopt;
    // Reactive parts, parallel resistors and corners must be positive; a series R may be 0.
    const bool seriesR = *kind == DutModel::R || *kind == DutModel::RSeriesL || *kind == DutModel::RSeriesC
                         || *kind == DutModel::RSeriesLSeriesC || *kind == DutModel::RSeriesRpParallelC
                         || *kind == DutModel::RSeriesLParallelC;
    if ((wanted & 0x1) && !seriesR && dut.r <= 0.0)
        return std::nullopt;
    if (((wanted & 0x2) && dut.l <= 0.0) || ((wanted & 0x4) && dut.c <= 0.0) || ((wanted & 0x8) && dut.rp <= 0.0)
        || ((wanted & 0x10) && dut.fc <= 0.0) || ((wanted & 0x20) && dut.k > 1e6))
        return std::nullopt;
    return dut;
}

bool ParseFaults(std::string_view text, Faults& faults)
{
    Faults f;
    for (std::string_view item : Split(text, ',')) {
        const std::string name = CompactLower(item);
        if (name == "none") continue;
        else if (name == "no_listener") f.noListener = true;
        else if (name == "timeout") f.timeout = true;
        else if (name == "truncated") f.truncated = true;
        else if (name == "garbled") f.garbled = true;
        else if (name == "stb_error") f.stbError = true;
        else if (name == "esr_error") f.esrError = true;
        else if (name == "lock_timeout") f.lockTimeout = true;
        else if (name.rfind("vanish_after:", 0) == 0) {
            const auto n = ParseInteger(std::string_view(name).substr(13), 0, 1000000);
            if (!n)
                return false;
            f.vanishAfter = *n;
        } else {
            return false;
        }
    }
    faults = f;
    return true;
}

bool ParseOthers(std::string_view text, std::vector<int>& others)
{
    std::vector<int> list;
    if (!Trim(text).empty()) {
        for (std::string_view item : Split(text, ',')) {
            const auto a = ParseInteger(item, 1, 30);
            if (!a || list.size() >= kMaxOthers || std::find(list.begin(), list.end(), *a) != list.end())
                return false;
            list.push_back(static_cast<int>(*a));
        }
    }
    others = std::move(list);
    return true;
}

// Up to eight command headers, upper-cased: "MEAS", "GAINPH?", "*ESE".
bool ParseRefused(std::string_view text, std::vector<std::string>& refuse)
{
    constexpr std::size_t kMaxRefused = 8;
    constexpr std::size_t kMaxHeader = 16;
    std::vector<std::string> list;
    if (!Trim(text).empty()) {
        for (std::string_view item : Split(text, ',')) {
            item = Trim(item);
            if (item.empty() || item.size() > kMaxHeader || !Printable(item) || list.size() >= kMaxRefused
                || item.find(' ') != std::string_view::npos)
                return false;
            std::string header;
            for (char ch : item)
                header.push_back(static_cast<char>(std::toupper(static_cast<unsigned char>(ch))));
            list.push_back(header);
        }
    }
    refuse = std::move(list);
    return true;
}

bool ValidFirmware(std::string_view s)
{
    if (s.size() < 3 || s.size() > 5 || !std::isdigit(static_cast<unsigned char>(s[0])) || s[1] != '.')
        return false;
    return std::all_of(s.begin() + 2, s.end(), [](char ch) { return std::isdigit(static_cast<unsigned char>(ch)); });
}

template <typename T, typename V>
bool Assign(T& target, const std::optional<V>& value)
{
    if (!value)
        return false;
    target = static_cast<T>(*value);
    return true;
}

// Applies one key; false rejects the pair.
bool ApplyPair(std::string_view key, std::string_view value, SimConfig& c, ConfigChanges& changes)
{
    if (key == "family") {
        changes.family = true;
        const auto family = ParseInteger(value, 1800, 5060);
        if (!family || (*family != 1800 && *family != 1960 && *family != 2600 && *family != 5060))
            return false;
        c.family = static_cast<int>(*family);
        return true;
    }
    if (key == "model") {
        if (value.empty() || value.size() > 4
            || !std::all_of(value.begin(), value.end(), [](char ch) { return ch >= '0' && ch <= '9'; }))
            return false;
        c.model = std::string(value);
        return true;
    }
    if (key == "serial") return Assign(c.serial, ParseInteger(value, 0, 999999999));
    if (key == "firmware") {
        if (!ValidFirmware(value))
            return false;
        c.firmware = std::string(value);
        return true;
    }
    if (key == "channels") return Assign(c.channels, ParseInteger(value, 2, 4));
    if (key == "board") {
        changes.address = true;
        return Assign(c.board, ParseInteger(value, 0, 3));
    }
    if (key == "address") {
        changes.address = true;
        return Assign(c.address, ParseInteger(value, 1, 30));
    }
    if (key == "others") return ParseOthers(value, c.others);
    if (key == "refuse") return ParseRefused(value, c.refuse);
    if (key == "idn") {
        if (value.size() > kMaxIdnLength || !Printable(value))
            return false;
        c.idn = std::string(value);
        return true;
    }
    if (key == "capability") {
        if (value.size() > kMaxCapabilityLength || !Printable(value))
            return false;
        c.capability = std::string(value);
        return true;
    }
    if (key == "hwclass") return Assign(c.hardwareClass, ParseInteger(value, 0, 13));
    if (key == "options") return Assign(c.options, ParseInteger(value, 0, 3));
    if (key == "max_frequency") {
        const auto f = ParseInRange(value, 1e5, 99.9e6);
        if (!f)
            return false;
        c.maxFrequency = std::round(*f / 1e5) * 1e5;
        return true;
    }
    if (key == "dut") return Assign(c.dut, ParseDut(value));
    if (key == "fixture") {
        const std::string v = CompactLower(value);
        if (v == "open") c.fixture = Fixture::Open;
        else if (v == "short") c.fixture = Fixture::Short;
        else if (v == "dut") c.fixture = Fixture::Dut;
        else return false;
        return true;
    }
    if (key == "rref") return Assign(c.rref, ParseInRange(value, 1e-3, 1e9));
    if (key == "rsource") return Assign(c.rsource, ParseInRange(value, 0.0, 1e6));
    if (key == "series_r") return Assign(c.seriesR, ParseInRange(value, 0.0, 1e6));
    if (key == "series_l") return Assign(c.seriesL, ParseInRange(value, 0.0, 1.0));
    if (key == "parallel_c") return Assign(c.parallelC, ParseInRange(value, 0.0, 1.0));
    if (key == "parallel_r") return Assign(c.parallelR, ParseInRange(value, 0.0, 1e15));
    if (key == "pair") {
        const std::string v = CompactLower(value);
        if (v == "1/2") c.pairLow = 1;
        else if (v == "2/3") c.pairLow = 2;
        else if (v == "3/4") c.pairLow = 3;
        else return false;
        return true;
    }
    if (key == "noise") return Assign(c.noise, ParseInRange(value, 0.0, 0.5));
    if (key == "seed") {
        changes.seed = true;
        return Assign(c.seed, ParseInteger(value, 0, 4294967295L));
    }
    if (key == "time_factor") return Assign(c.timeFactor, ParseInRange(value, 0.0, 1000.0));
    if (key == "tmo_factor") return Assign(c.tmoFactor, ParseInRange(value, 0.0, 10.0));
    if (key == "fault") {
        changes.faults = true;
        return ParseFaults(value, c.faults);
    }
    if (key == "callbacks") {
        const std::string v = CompactLower(value);
        if (v == "instrument") c.callbacks = CallbackThreads::Instrument;
        else if (v == "inline") c.callbacks = CallbackThreads::Inline;
        else if (v == "thread") c.callbacks = CallbackThreads::PerDelivery;
        else return false;
        return true;
    }
    if (key == "disarm") {
        const std::string v = CompactLower(value);
        if (v == "return") c.disarmWaits = false;
        else if (v == "wait") c.disarmWaits = true;
        else return false;
        return true;
    }
    return false;
}

// Checks between keys, made once the whole text is applied.
bool Consistent(const SimConfig& c)
{
    if (std::find(c.others.begin(), c.others.end(), c.address) != c.others.end())
        return false;
    return c.pairLow + 1 <= c.channels;
}

} // namespace

std::string SimConfig::UsbResource() const
{
    return "USB0::0x6B3D::0x" + model + "::" + std::to_string(serial) + "::INSTR";
}

int ApplyConfigText(std::string_view text, SimConfig& config, ConfigChanges& changes)
{
    if (text.size() > kMaxTextLength)
        return 1;
    SimConfig next = config;
    ConfigChanges touched;
    int number = 0;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find_first_of(";\n", start);
        if (end == std::string_view::npos)
            end = text.size();
        const std::string_view pair = Trim(text.substr(start, end - start));
        start = end + 1;
        if (pair.empty())
            continue;
        ++number;
        if (pair.size() > kMaxPairLength)
            return number;
        if (pair == "reset") {
            next = SimConfig();
            touched = ConfigChanges();
            touched.reset = true;
            continue;
        }
        const std::size_t eq = pair.find('=');
        if (eq == std::string_view::npos)
            return number;
        if (!ApplyPair(Trim(pair.substr(0, eq)), Trim(pair.substr(eq + 1)), next, touched))
            return number;
    }
    if (!Consistent(next))
        return number + 1;
    config = std::move(next);
    changes = touched;
    return 0;
}

} // namespace talsim
