#pragma once
// Demonstration documents made of random data sets.
#include <optional>
#include <cstdint>

class CTalDocument;

// Starts `document` as a new document and adds `count` random data sets of `channels` nodes.
// With a seed the data is the same on every run.
void FillRandomDocument(CTalDocument& document, int channels, int count,
                        std::optional<uint32_t> seed);

// Bounds of the --channels and --count options.
constexpr int kMinChannels = 2;
constexpr int kMaxChannels = 4;
constexpr int kMaxRandomSets = 100;  // amplitudes grow as 10^(index/3)
