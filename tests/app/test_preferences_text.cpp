#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <random>

#include "app/core/ApplicationValues.h"
#include "app/prefs/PreferencesText.h"

namespace {

// What the writer puts on disk: no "\r", every "\n" as "\r\n".
std::string OnDisk(const std::string& text)
{
    std::string bytes;
    for (char c : text) {
        if (c == '\r')
            continue;
        if (c == '\n')
            bytes += '\r';
        bytes += c;
    }
    return bytes;
}

std::string RoundTripText(const ApplicationValues& values)
{
    return PreferencesTextAsRead(OnDisk(FormatPreferences(values)));
}

const char* const kDefaultText =
    "\n* The following parameters are from the Talvern Application:\n"
    "CTalvernApp Version=6\n"
    "Interface Name(deprecated)=0\n"
    "GPIB Address(deprecated)=8\n"
    "965 Port Address=768\n"
    "Analyzer Type (0:RLC880, 6:RLC1960, 7:RLC1842, 8:RLC1852, 9:RLC1862, 10:RLC2600, "
    "11:RLC1370)=10\n"
    "965 Version (0:Version A, 1:Version B)=0\n"
    "Initial Plot Type (0:gain, 1:imp, 2:volt, 3:text, 4:nyq) (deprecated)=1\n"
    "Voltage Format for Editing=True\n"
    "Page Orientation Number=2\n"
    "Page Margin Top=1000\n"
    "Page Margin Left=1000\n"
    "Page Margin Bottom=1000\n"
    "Page Margin Right=1000\n"
    "Page Minimum Margin Top=250\n"
    "Page Minimum Margin Left=40\n"
    "Page Minimum Margin Bottom=250\n"
    "Page Minimum Margin Right=586\n"
    "880 System Dialog Preferences=\r\n***BEGIN***\r\n***END***\r\n"
    "2688 System Dialog Preferences=\r\n***BEGIN***\r\n***END***\r\n"
    "2600 System Dialog Preferences=\r\n***BEGIN***\r\n***END***\r\n"
    "1800 System Dialog Preferences=\r\n***BEGIN***\r\n***END***\r\n"
    "1960 System Dialog Preferences=\r\n***BEGIN***\r\n***END***\r\n"
    "945 System Dialog Preferences=\r\n***BEGIN***\r\n***END***\r\n"
    "915 System Analyzer Dialog Preferences=\r\n***BEGIN***\r\n***END***\r\n"
    "965 System Dialog Preferences=\r\n***BEGIN***\r\n***END***\r\n"
    "6088 System Dialog Preferences=\r\n***BEGIN***\r\n***END***\r\n"
    "Synthesis Dialog Preferences=\n***BEGIN***\n***END_SYNTH***\n"
    "Current or Input Node=1\n"
    "Voltage or Output Node=2\n"
    "Scale Factor(deprecated)=1.000000\n"
    "Gain or Imp Color=255\n"
    "Phase Color=16711680\n"
    "Volt 1 Color=255\n"
    "Volt 2 Color=16711935\n"
    "Volt 3 Color=16711680\n";

class PreferencesTextTest : public ::testing::Test {
protected:
    // Every value the text carries set away from its default.
    void FillSource()
    {
        source.analyzerType = 10;
        source.interfaceIndex = 4;
        source.gpibAddressApplication = 21;
        source.portAddress965 = 0x310;
        source.defaultPlotType = 3;
        sourceData.voltageFormat = false;
        source.page = {11, 12, 13, 14, 15, 16, 17, 18, 1};
        for (int i = 0; i < kPreferenceBlockCount; ++i) {
            source.Block(static_cast<PreferenceBlock>(i)) =
                "\r\n* Block " + std::to_string(i) + "\r\nStart Frequency=10\r\nA=B=C\r\n";
        }
        source.Block(PreferenceBlock::Family2600) += "No line end, markers ***END_SYNTH***";
        source.Block(PreferenceBlock::Synthesis) = "Synth=1\r\n***END***\r\nLast=2";
        sourceData.defaultInputNode = 3;
        sourceData.defaultOutputNode = 4;
        sourceData.defaultScaleFactor = 2.5;
        sourceData.defaultGainColor = 1;
        sourceData.defaultPhaseColor = 2;
        sourceData.defaultNodeColor[0] = 3;
        sourceData.defaultNodeColor[1] = 4;
        sourceData.defaultNodeColor[2] = 0xFFFFFF;
    }

    ApplicationData sourceData;
    ApplicationValues source{sourceData};
    ApplicationData targetData;
    ApplicationValues target{targetData};
};

TEST_F(PreferencesTextTest, DefaultsFormatAsTheVersion6Layout)
{
    source.analyzerType = 10;
    EXPECT_EQ(FormatPreferences(source), kDefaultText);
}

TEST_F(PreferencesTextTest, EveryValueAndBlockSurvivesAFileRoundTrip)
{
    FillSource();
    ASSERT_TRUE(ParsePreferences(RoundTripText(source), target));

    EXPECT_EQ(target.portAddress965, 0x310);
    EXPECT_FALSE(targetData.voltageFormat);
    const PageSetup& p = target.page;
    EXPECT_EQ(std::vector<int>({p.marginLeft, p.marginTop, p.marginRight, p.marginBottom,
                                p.minMarginLeft, p.minMarginTop, p.minMarginRight,
                                p.minMarginBottom, p.orientation}),
              std::vector<int>({11, 12, 13, 14, 15, 16, 17, 18, 1}));
    for (int i = 0; i < kPreferenceBlockCount; ++i) {
        const auto block = static_cast<PreferenceBlock>(i);
        EXPECT_EQ(target.Block(block), source.Block(block)) << i;
    }
    EXPECT_EQ(targetData.preferenceBlock880, sourceData.preferenceBlock880);
    EXPECT_EQ(targetData.preferenceBlockSynthesis, "Synth=1\r\n***END***\r\nLast=2");
    EXPECT_EQ(targetData.defaultInputNode, 3);
    EXPECT_EQ(targetData.defaultOutputNode, 4);
    EXPECT_EQ(targetData.defaultGainColor, 1u);
    EXPECT_EQ(targetData.defaultPhaseColor, 2u);
    EXPECT_EQ(targetData.defaultNodeColor[0], 3u);
    EXPECT_EQ(targetData.defaultNodeColor[1], 4u);
    EXPECT_EQ(targetData.defaultNodeColor[2], 0xFFFFFFu);

    // Written for information only.
    EXPECT_EQ(target.interfaceIndex, 0);
    EXPECT_EQ(target.gpibAddressApplication, 8);
    EXPECT_EQ(target.analyzerType, -1);
    EXPECT_EQ(target.defaultPlotType, 1);
    EXPECT_DOUBLE_EQ(targetData.defaultScaleFactor, 1.0);
}

TEST_F(PreferencesTextTest, BlockLinesComeBackEndingInCrLfWithoutTrailingSpace)
{
    source.Block(PreferenceBlock::Family1960) = "\n* 1960:\nSweep Type=Log  \nLast=1";
    ASSERT_TRUE(ParsePreferences(RoundTripText(source), target));
    EXPECT_EQ(target.Block(PreferenceBlock::Family1960), "\r\n* 1960:\r\nSweep Type=Log\r\nLast=1");
}

TEST_F(PreferencesTextTest, EveryCutOfTheTextFailsUntilTheLastValueAndKeepsWhatCameBefore)
{
    FillSource();
    const std::string text = RoundTripText(source);
    const size_t lastValue = text.rfind('=') + 1;
    const size_t noVersion = text.find('=') + 1;  // no version character: nothing to read
    for (size_t cut = 0; cut < text.size(); ++cut) {
        ApplicationData data;
        ApplicationValues values(data);
        EXPECT_EQ(ParsePreferences(text.substr(0, cut), values),
                  cut >= lastValue || cut == noVersion)
            << cut;
    }

    // Cut in the middle of the colour lines: the colours before the cut are read.
    const size_t cut = text.find("Volt 1 Co");
    EXPECT_FALSE(ParsePreferences(text.substr(0, cut + 9), target));
    EXPECT_EQ(targetData.defaultGainColor, 1u);
    EXPECT_EQ(targetData.defaultPhaseColor, 2u);
    EXPECT_EQ(targetData.defaultNodeColor[0], 255u);
    EXPECT_EQ(target.Block(PreferenceBlock::Synthesis), source.Block(PreferenceBlock::Synthesis));
}

TEST_F(PreferencesTextTest, AMissingMarkerFailsAtItsBlockAndKeepsTheBlocksBefore)
{
    FillSource();
    const std::string text = RoundTripText(source);
    const size_t header = text.find("2600 System Dialog Preferences=");
    for (const char* marker : {"***BEGIN***", "***END***"}) {
        SCOPED_TRACE(marker);
        std::string broken = text;
        broken.erase(broken.find(marker, header), std::string(marker).size());
        ApplicationData data;
        ApplicationValues values(data);
        EXPECT_FALSE(ParsePreferences(broken, values));
        EXPECT_EQ(values.Block(PreferenceBlock::Family880), source.Block(PreferenceBlock::Family880));
        EXPECT_EQ(values.Block(PreferenceBlock::Family2688),
                  source.Block(PreferenceBlock::Family2688));
        EXPECT_EQ(values.Block(PreferenceBlock::Family2600), "");
        EXPECT_EQ(values.Block(PreferenceBlock::Series1800), "");
        EXPECT_EQ(values.page.orientation, 1);
        EXPECT_EQ(data.defaultInputNode, 1);
    }
    std::string noSynthesisEnd = text;
    noSynthesisEnd.erase(noSynthesisEnd.rfind("***END_SYNTH***"), 15);
    EXPECT_FALSE(ParsePreferences(noSynthesisEnd, target));
    EXPECT_EQ(target.Block(PreferenceBlock::Family6088), source.Block(PreferenceBlock::Family6088));
}

std::string MarginLines()
{
    return "Page Orientation Number=1\r\nPage Margin Top=500\r\nPage Margin Left=501\r\n"
           "Page Margin Bottom=502\r\nPage Margin Right=503\r\nPage Minimum Margin Top=5\r\n"
           "Page Minimum Margin Left=6\r\nPage Minimum Margin Bottom=7\r\n"
           "Page Minimum Margin Right=8\r\n";
}

std::string BlockLines(const char* header, const char* body, const char* end = "***END***")
{
    return std::string(header) + "=\r\n***BEGIN***\r\n" + body + end + "\r\n";
}

std::string NodeAndColorLines()
{
    return "Current or Input Node=2\r\nVoltage or Output Node=3\r\nScale Factor=0.5\r\n"
           "Gain or Imp Color=10\r\nPhase Color=20\r\nVolt 1 Color=30\r\nVolt 2 Color=40\r\n"
           "Volt 3 Color=50\r\n";
}

void ExpectOldMargins(const ApplicationValues& values)
{
    const PageSetup& p = values.page;
    EXPECT_EQ(std::vector<int>({p.orientation, p.marginTop, p.marginLeft, p.marginBottom,
                                p.marginRight, p.minMarginTop, p.minMarginLeft,
                                p.minMarginBottom, p.minMarginRight}),
              std::vector<int>({1, 500, 501, 502, 503, 5, 6, 7, 8}));
}

void ExpectOldNodesAndColors(const ApplicationData& data)
{
    EXPECT_EQ(data.defaultInputNode, 2);
    EXPECT_EQ(data.defaultOutputNode, 3);
    EXPECT_DOUBLE_EQ(data.defaultScaleFactor, 0.5);
    EXPECT_EQ(data.defaultGainColor, 10u);
    EXPECT_EQ(data.defaultPhaseColor, 20u);
    EXPECT_EQ(data.defaultNodeColor[0], 30u);
    EXPECT_EQ(data.defaultNodeColor[1], 40u);
    EXPECT_EQ(data.defaultNodeColor[2], 50u);
}

TEST_F(PreferencesTextTest, Version5CarriesTheHardwareValuesAndEightFamilyBlocks)
{
    const std::string text = "\r\n* Header\r\nCTalvernApp Version=5\r\nInterface Name=2\r\n"
                             "GPIB Address=14\r\n965 Port Address=784\r\nAnalyzer Type=6\r\n"
                             "965 Version=0\r\nInitial Plot Type=3\r\n"
                             "Voltage Format for Editing=False\r\n" +
                             MarginLines() + BlockLines("880", "A=1\r\n") +
                             BlockLines("2688", "B=1\r\n") + BlockLines("1800", "C=1\r\n") +
                             BlockLines("1960", "D=1\r\n") + BlockLines("945", "") +
                             BlockLines("915", "") + BlockLines("965", "") +
                             BlockLines("6088", "E=1\r\n") +
                             BlockLines("Synthesis", "S=1\r\n", "***END_SYNTH***") +
                             NodeAndColorLines();
    ASSERT_TRUE(ParsePreferences(text, target));
    EXPECT_EQ(target.interfaceIndex, 2);
    EXPECT_EQ(target.gpibAddressApplication, 14);
    EXPECT_EQ(target.gpibAddressAnalyzer, 14);
    EXPECT_EQ(target.portAddress965, 784);
    EXPECT_EQ(target.defaultPlotType, 3);
    EXPECT_FALSE(targetData.voltageFormat);
    ExpectOldMargins(target);
    EXPECT_EQ(target.Block(PreferenceBlock::Family880), "A=1\r\n");
    EXPECT_EQ(target.Block(PreferenceBlock::Family2688), "B=1\r\n");
    EXPECT_EQ(target.Block(PreferenceBlock::Family2600), "");
    EXPECT_EQ(target.Block(PreferenceBlock::Series1800), "C=1\r\n");
    EXPECT_EQ(target.Block(PreferenceBlock::Family1960), "D=1\r\n");
    EXPECT_EQ(target.Block(PreferenceBlock::Family6088), "E=1\r\n");
    EXPECT_EQ(target.Block(PreferenceBlock::Synthesis), "S=1\r\n");
    ExpectOldNodesAndColors(targetData);
}

// Versions 4 to 2 take the cursor 12 past a begin marker, so over the "\r" of the line end
// that the reader gives every line: their blocks start with "\n".
TEST_F(PreferencesTextTest, Versions4To2ReadTheirShorterBlockLists)
{
    const std::string head = "GPIB Address=14\r\n965 Port Address=784\r\nX=0\r\nY=0\r\n"
                             "Initial Plot Type=3\r\nVoltage Format for Editing=False\r\n" +
                             MarginLines();
    const std::string version4 =
        "CTalvernApp Version=4\r\n" + head + BlockLines("880", "A=1\r\n") +
        BlockLines("1960", "D=1\r\n") + BlockLines("945", "") + BlockLines("915", "") +
        BlockLines("965", "") + BlockLines("6088", "E=1\r\n") +
        BlockLines("Synthesis", "S=1\r\n", "***END_SYNTH***") + NodeAndColorLines();
    ASSERT_TRUE(ParsePreferences(version4, target));
    EXPECT_EQ(target.gpibAddressApplication, 14);
    EXPECT_EQ(target.gpibAddressAnalyzer, 8);
    EXPECT_EQ(target.defaultPlotType, 3);
    ExpectOldMargins(target);
    EXPECT_EQ(target.Block(PreferenceBlock::Family880), "\nA=1\r\n");
    EXPECT_EQ(target.Block(PreferenceBlock::Family1960), "\nD=1\r\n");
    EXPECT_EQ(target.Block(PreferenceBlock::Family6088), "\nE=1\r\n");
    EXPECT_EQ(target.Block(PreferenceBlock::Synthesis), "\nS=1\r\n");
    ExpectOldNodesAndColors(targetData);

    const std::string version3 = "CTalvernApp Version=3\r\n" + head + BlockLines("880", "A=1\r\n") +
                                 BlockLines("945", "F=1\r\n") + BlockLines("915", "") +
                                 BlockLines("965", "") + BlockLines("6088", "E=1\r\n") +
                                 BlockLines("Synthesis", "S=1\r\n");
    ApplicationData data3;
    ApplicationValues values3(data3);
    ASSERT_TRUE(ParsePreferences(version3, values3));
    EXPECT_EQ(values3.Block(PreferenceBlock::Family945), "\nF=1\r\n");
    EXPECT_EQ(values3.Block(PreferenceBlock::Family6088), "\nE=1\r\n");
    EXPECT_EQ(values3.Block(PreferenceBlock::Synthesis), "\nS=1\r\n");
    ExpectOldMargins(values3);

    const std::string version2 = "CTalvernApp Version=2\r\n" + head + BlockLines("880", "A=1\r\n") +
                                 BlockLines("945", "") + BlockLines("915", "") +
                                 BlockLines("965", "G=1\r\n") + BlockLines("Synthesis", "S=2\r\n");
    ApplicationData data2;
    ApplicationValues values2(data2);
    ASSERT_TRUE(ParsePreferences(version2, values2));
    EXPECT_EQ(values2.Block(PreferenceBlock::Family965), "\nG=1\r\n");
    EXPECT_EQ(values2.Block(PreferenceBlock::Family6088), "");
    EXPECT_EQ(values2.Block(PreferenceBlock::Synthesis), "\nS=2\r\n");
    EXPECT_EQ(data2.defaultInputNode, 1);
}

TEST_F(PreferencesTextTest, FirstLayoutReadsItsMarkerLinesAsWritten)
{
    const std::string text = "Voltage Format=True\r\nA=1\r\nB=2\r\nC=3\r\n"
                             "Voltage Format for Editing=False\r\n" +
                             MarginLines() + BlockLines("880", "A=1\r\n") +
                             BlockLines("945", "") + BlockLines("915", "") + BlockLines("965", "") +
                             BlockLines("Synthesis", "S=1\r\n");
    ASSERT_TRUE(ParsePreferences(text, target));
    EXPECT_FALSE(targetData.voltageFormat);
    ExpectOldMargins(target);
    EXPECT_EQ(target.Block(PreferenceBlock::Family880), "A=1\r\n");
    EXPECT_EQ(target.Block(PreferenceBlock::Synthesis), "S=1\r\n");
}

TEST_F(PreferencesTextTest, UnknownVersionChangesNothingAndTextWithoutValuesFails)
{
    ASSERT_TRUE(ParsePreferences("CTalvernApp Version=7\r\n965 Port Address=1\r\n", target));
    ASSERT_TRUE(ParsePreferences("CTalvernApp Version=", target));
    EXPECT_EQ(FormatPreferences(target), FormatPreferences(source));
    EXPECT_FALSE(ParsePreferences("", target));
    EXPECT_FALSE(ParsePreferences("no equals sign\r\n", target));
}

TEST_F(PreferencesTextTest, ValuesOutsideTheirRangeLeaveTheValueUnchanged)
{
    source.analyzerType = 10;
    std::string text = RoundTripText(source);
    auto set = [&text](const std::string& name, const std::string& value) {
        const size_t at = text.find(name + "=") + name.size() + 1;
        text.replace(at, text.find('\r', at) - at, value);
    };
    set("Page Orientation Number", "99999999999999999999999");
    set("Page Margin Top", "-5");
    set("Page Margin Left", "   42");
    set("965 Port Address", "-77x");
    set("Current or Input Node", "0");
    set("Voltage or Output Node", "junk");
    set("Gain or Imp Color", "16777216");
    set("Phase Color", "-1");
    ASSERT_TRUE(ParsePreferences(text, target));
    EXPECT_EQ(target.page.orientation, 2);
    EXPECT_EQ(target.page.marginTop, 1000);
    EXPECT_EQ(target.page.marginLeft, 42);
    EXPECT_EQ(target.portAddress965, -77);
    EXPECT_EQ(targetData.defaultInputNode, 1);
    EXPECT_EQ(targetData.defaultOutputNode, 2);
    EXPECT_EQ(targetData.defaultGainColor, 255u);
    EXPECT_EQ(targetData.defaultPhaseColor, 16711680u);
}

TEST(PreferencesTextAsRead, LongLinesArriveInPiecesAndLinesLoseTrailingSpace)
{
    const std::string line(20000, 'x');
    EXPECT_EQ(PreferencesTextAsRead(line + "\r\n"),
              std::string(9999, 'x') + "\r\n" + std::string(9999, 'x') + "\r\nxx\r\n");
    EXPECT_EQ(PreferencesTextAsRead(std::string(9999, 'y') + "\n"),
              std::string(9999, 'y') + "\r\n\r\n");
    EXPECT_EQ(PreferencesTextAsRead("a = 1 \t\r\n\r\nb\nc"), "a = 1\r\n\r\nb\r\nc\r\n");
    EXPECT_EQ(PreferencesTextAsRead("lone\rreturn \r"), "lone\rreturn\r\n");
    EXPECT_EQ(PreferencesTextAsRead(""), "");
}

TEST(PreferencesParse, HostileTextStaysInsideTheText)
{
    std::mt19937 random(1234);
    const char* const tokens[] = {"=", "=", "***BEGIN***", "***END***", "***END_SYNTH***",
                                  "\r\n", "\n", "6", "5", "4", "3", "2", "T", "F",
                                  "-99999999999999", "1e999", "x"};
    for (int round = 0; round < 3000; ++round) {
        std::string text;
        const int count = static_cast<int>(random() % 80);
        for (int i = 0; i < count; ++i)
            text += tokens[random() % std::size(tokens)];
        ApplicationData data;
        ApplicationValues values(data);
        ParsePreferences(text, values);
        ParsePreferences(PreferencesTextAsRead(text), values);
    }

    ApplicationData data;
    ApplicationValues values(data);
    EXPECT_FALSE(ParsePreferences("V=6" + std::string(1'000'000, '='), values));
    EXPECT_FALSE(ParsePreferences("V=6" + std::string(17, '=') + "***BEGIN***", values));
    EXPECT_FALSE(ParsePreferences("V=6" + std::string(17, '=') + "***BEGIN***\r\n***END***",
                                  values));
}

// What the program writes from values it read must read again: block texts holding marker
// text of their own (the fixture, found by the fuzzer) are refused when read.
TEST(PreferencesParse, WhateverReadsAlsoReadsBackOnceWritten)
{
    const auto readsBack = [](const std::string& fileBytes) {
        ApplicationData data;
        ApplicationValues values(data);
        values.SelectAnalyzerType(10);
        if (!ParsePreferences(PreferencesTextAsRead(fileBytes), values))
            return true;
        std::string written;
        for (char c : FormatPreferences(values)) {
            if (c == '\n')
                written += '\r';
            if (c != '\r')
                written += c;
        }
        ApplicationData againData;
        ApplicationValues again(againData);
        again.SelectAnalyzerType(10);
        return ParsePreferences(PreferencesTextAsRead(written), again);
    };
    std::ifstream fixture(TALVERN_FIXTURES_DIR "/prefs_marker_text_in_block.txt", std::ios::binary);
    ASSERT_TRUE(fixture);
    EXPECT_TRUE(readsBack(std::string(std::istreambuf_iterator<char>(fixture), {})));

    std::mt19937 random(99);
    const char* const tokens[] = {"=", "***BEGIN***\r\n", "***END***\r\n", "***END_SYNTH***\r\n",
                                  "***END***", "\r\n", "\r", "6", "x"};
    for (int round = 0; round < 3000; ++round) {
        std::string text = "CTalvernApp Version=6\r\n";
        const int count = static_cast<int>(random() % 120);
        for (int i = 0; i < count; ++i)
            text += tokens[random() % std::size(tokens)];
        EXPECT_TRUE(readsBack(text)) << text;
    }
}

}  // namespace
