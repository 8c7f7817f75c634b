#include "analyzer/family1960/ReadingReply.h"

#include "analyzer/sweep/ReplyTokenizer.h"

namespace analyzer::family1960 {

std::optional<std::string> ParseGainPhaseReply(std::string_view text, const FamilyTexts& texts, Reading& reading)
{
    ReplyTokenizer tokens(text);
    const std::optional<double> frequency = tokens.NextValue();
    if (!frequency)
        return MissingValueContext(texts, "dFreq");
    const std::optional<double> ch1 = tokens.NextValue();
    if (!ch1)
        return MissingValueContext(texts, "dCH1VRMS");
    const std::optional<double> ch2 = tokens.NextValue();
    if (!ch2)
        return MissingValueContext(texts, "dCH2VRMS");
    tokens.NextValue();  // the analyzer's own value between the amplitudes and the phase
    const std::optional<double> phase = tokens.NextValue();
    if (!phase)
        return MissingValueContext(texts, "dCH2Phase");
    reading.frequency = *frequency;
    reading.amplitude[0] = *ch1;
    reading.amplitude[1] = *ch2;
    reading.phase[0] = 0.0;
    reading.phase[1] = *phase;
    return std::nullopt;
}

} // namespace analyzer::family1960
