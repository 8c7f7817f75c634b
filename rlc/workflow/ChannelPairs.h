#pragma once
// The "Channel Select:" pairs: the current (input) node, the voltage (output) node and the
// analyzer's "Chann&el Ratio:" entry of each.
#include <string>

struct ChannelPair {
    const char* text;        // "1/2", "2/3", "3/4"
    int inputNode;           // current channel
    int outputNode;          // voltage channel
    const char* ratioEntry;  // "CH2/CH1", ...
};
constexpr int kChannelPairCount = 3;

// Pair 0, 1 or 2; anything else reads as pair 0.
const ChannelPair& ChannelPairInfo(int pair);
// The pair of a default input/output node: 2/3 -> 1, 3/4 -> 2, otherwise 0.
int ChannelPairForNodes(int inputNode, int outputNode);
// Whether an analyzer with `channelCount` inputs has both nodes of the pair.
bool ChannelPairAvailable(int pair, int channelCount);
