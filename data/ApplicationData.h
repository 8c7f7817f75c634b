#pragma once
// Program-wide values the data layer reads and writes. The application object owns the
// values (and persists them); data sets read the defaults only when they are constructed.
#include <cstdint>
#include <string>

struct ApplicationData {
    // Data-set defaults.
    int defaultInputNode = 1;
    int defaultOutputNode = 2;
    double defaultScaleFactor = 1.0;
    uint32_t defaultGainColor = 0x0000FF;   // colours are 0x00BBGGRR
    uint32_t defaultPhaseColor = 0xFF0000;
    uint32_t defaultNodeColor[4] = {0x0000FF, 0xFF00FF, 0xFF0000, 0x0080FF};
    int inputRange = 0;                     // 0 = 0 dB, 1 = 20 dB, 2 = 40 dB
    int channelPair = 0;                    // 0 = "1/2", 1 = "2/3", 2 = "3/4"

    int channelCount = 4;                   // analyzer input channels (random data uses it)
    double mathScaleFactor = 1.0;
    bool voltageFormat = false;             // 5-column text tables for copy/export

    // Written when a document file is loaded.
    int lastLoadedFileVersion = 1004;       // leading version word of the last loaded file
    std::string requestedDisplayType = "OK"; // "Gain", "Imp", "Volt", "Text", "Nyq" or "OK"

    // Application parameter text (the preferences text built in memory); stored in documents.
    std::string parameterText;
    // Preference blocks that the oldest document files carry and replace on load.
    std::string preferenceBlock880;
    std::string preferenceBlockSynthesis;
};

// The process-wide instance.
ApplicationData& appData();
