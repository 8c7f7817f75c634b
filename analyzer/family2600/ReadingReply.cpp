#include "analyzer/family2600/ReadingReply.h"

#include <algorithm>

#include "analyzer/family2600/Texts.h"
#include "analyzer/sweep/ReplyTokenizer.h"

namespace analyzer::family2600 {

std::optional<std::string> ParseReadingReply(std::string_view text, int channelCount, Reading& reading)
{
    static const char* const kAmplitudeNames[4] = {"dCH1V-Pk", "dCH2V-Pk", "dCH3V-Pk", "dCH4V-Pk"};
    static const char* const kPhaseNames[4] = {"dCH1Phase", "dCH2Phase", "dCH3Phase", "dCH4Phase"};

    ReplyTokenizer tokens(text);
    Reading parsed = reading;
    const std::optional<double> frequency = tokens.NextValue();
    if (!frequency)
        return MissingValueContext(Texts(), "dFreq");
    parsed.frequency = *frequency;
    const int channels = std::clamp(channelCount, 2, 4);
    for (int ch = 0; ch < channels; ++ch) {
        const std::optional<double> amplitude = tokens.NextValue();
        if (!amplitude)
            return MissingValueContext(Texts(), kAmplitudeNames[ch]);
        const std::optional<double> phase = tokens.NextValue();
        if (!phase)
            return MissingValueContext(Texts(), kPhaseNames[ch]);
        parsed.amplitude[ch] = *amplitude;
        parsed.phase[ch] = *phase;
    }
    reading = parsed;
    return std::nullopt;
}

} // namespace analyzer::family2600
