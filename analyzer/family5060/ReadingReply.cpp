#include "analyzer/family5060/ReadingReply.h"

#include "analyzer/family5060/Texts.h"
#include "analyzer/sweep/ReplyTokenizer.h"

namespace analyzer::family5060 {

std::optional<std::string> ParseMeasurementReply(std::string_view text, Reading& reading)
{
    // The value each position holds; null for the analyzer's values between them.
    enum Slot { Skip, Ch1, Ch1Phase, Freq, Ch2, Ch2Phase, Ch3, Ch3Phase };
    static constexpr struct {
        Slot slot;
        const char* name;
    } kLayout[] = {{Ch1, "dCH1VRMS"}, {Skip, ""}, {Ch1Phase, "dCH1Phase"}, {Freq, "dFreq"},
                   {Ch2, "dCH2VRMS"}, {Skip, ""}, {Ch2Phase, "dCH2Phase"}, {Skip, ""},
                   {Ch3, "dCH3VRMS"}, {Skip, ""}, {Ch3Phase, "dCH3Phase"}};
    ReplyTokenizer tokens(text);
    Reading parsed = reading;
    for (const auto& position : kLayout) {
        const std::optional<double> value = tokens.NextValue();
        if (position.slot == Skip)
            continue;
        if (!value)
            return MissingValueContext(Texts(), position.name);
        switch (position.slot) {
        case Ch1: parsed.amplitude[0] = *value; break;
        case Ch1Phase: parsed.phase[0] = *value; break;
        case Freq: parsed.frequency = *value; break;
        case Ch2: parsed.amplitude[1] = *value; break;
        case Ch2Phase: parsed.phase[1] = *value; break;
        case Ch3: parsed.amplitude[2] = *value; break;
        case Ch3Phase: parsed.phase[2] = *value; break;
        case Skip: break;
        }
    }
    reading = parsed;
    return std::nullopt;
}

} // namespace analyzer::family5060
