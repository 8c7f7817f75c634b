#include "analyzer/sweep/ChannelLists.h"

#include <algorithm>

namespace analyzer {

namespace {

bool Holds(const std::vector<std::string>& entries, ChannelPair pair)
{
    return std::find(entries.begin(), entries.end(), RatioEntryText(pair)) != entries.end();
}

const char* PairLabel(ChannelPair ratio)
{
    switch (ratio.numerator + ratio.denominator) {
    case 4: return "CH1,3";
    case 5: return "CH2,3";
    default: return "CH1,2";
    }
}

} // namespace

std::vector<std::string> ChannelRatioEntries(int channelCount)
{
    if (channelCount <= 2)
        return {"CH1/CH2", "CH2/CH1"};
    std::vector<std::string> entries{"CH1/CH2", "CH1/CH3", "CH2/CH1", "CH2/CH3", "CH3/CH1", "CH3/CH2"};
    if (channelCount >= 4)
        entries.push_back("CH4/CH3");
    return entries;
}

std::string RatioEntryText(ChannelPair pair)
{
    return "CH" + std::to_string(pair.numerator) + "/CH" + std::to_string(pair.denominator);
}

std::vector<std::string> ServoChannelEntries(int channelCount, ChannelPair ratio)
{
    std::vector<std::string> entries{"CH 1", "CH 2"};
    if (channelCount >= 3)
        entries.push_back("CH 3");
    if (channelCount >= 4)
        entries.push_back("CH 4");
    entries.push_back(ServoEntryText(ServoChoice::Larger, ratio));
    entries.push_back(ServoEntryText(ServoChoice::Smaller, ratio));
    return entries;
}

std::string ServoEntryText(ServoChoice choice, ChannelPair ratio)
{
    switch (choice) {
    case ServoChoice::Channel1: return "CH 1";
    case ServoChoice::Channel2: return "CH 2";
    case ServoChoice::Channel3: return "CH 3";
    case ServoChoice::Channel4: return "CH 4";
    case ServoChoice::Larger: return std::string("Larger of ") + PairLabel(ratio);
    case ServoChoice::Smaller: return std::string("Smaller of ") + PairLabel(ratio);
    }
    return "CH 1";
}

ChannelPair RatioForNumerator(int numerator, int channelCount)
{
    const std::vector<std::string> entries = ChannelRatioEntries(channelCount);
    ChannelPair pair{1, 2};
    if (numerator == 2)
        pair = {2, 1};
    else if (numerator == 3)
        pair = {3, 2};
    else if (numerator == 4)
        pair = {4, 3};
    return Holds(entries, pair) ? pair : ChannelPair{1, 2};
}

std::optional<ChannelPair> RatioFromStoredText(std::string_view value, int channelCount)
{
    if (value.size() < 7)
        return std::nullopt;
    const char numerator = value[2];
    const char denominator = value[6];
    ChannelPair pair;
    if (channelCount <= 2) {
        if (numerator == '1' && denominator == '2')
            pair = {1, 2};
        else if (numerator == '2' && denominator == '1')
            pair = {2, 1};
        else
            return std::nullopt;
    } else {
        switch (numerator) {
        case '1': pair = (denominator == '2') ? ChannelPair{1, 2} : ChannelPair{1, 3}; break;
        case '2': pair = (denominator == '1') ? ChannelPair{2, 1} : ChannelPair{2, 3}; break;
        case '3': pair = (denominator == '1') ? ChannelPair{3, 1} : ChannelPair{3, 2}; break;
        case '4': pair = {4, 3}; break;
        default: pair = {2, 1}; break;  // the third entry
        }
    }
    if (!Holds(ChannelRatioEntries(channelCount), pair))
        return std::nullopt;
    return pair;
}

} // namespace analyzer
