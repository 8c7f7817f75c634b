#include "rlc/workflow/ChannelPairs.h"

namespace {

constexpr ChannelPair kPairs[kChannelPairCount] = {
    {"1/2", 1, 2, "CH2/CH1"},
    {"2/3", 2, 3, "CH3/CH2"},
    {"3/4", 3, 4, "CH4/CH3"},
};

}  // namespace

const ChannelPair& ChannelPairInfo(int pair)
{
    return kPairs[pair >= 0 && pair < kChannelPairCount ? pair : 0];
}

int ChannelPairForNodes(int inputNode, int outputNode)
{
    for (int pair = 1; pair < kChannelPairCount; ++pair)
        if (kPairs[pair].inputNode == inputNode && kPairs[pair].outputNode == outputNode)
            return pair;
    return 0;
}

bool ChannelPairAvailable(int pair, int channelCount)
{
    return pair >= 0 && pair < kChannelPairCount && kPairs[pair].outputNode <= channelCount;
}
