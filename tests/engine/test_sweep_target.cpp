// The sweep target: a sweep's events turned into document changes as a display makes them.

#include <gtest/gtest.h>

#include <regex>

#include "analyzer/target/SweepBand.h"
#include "analyzer/target/SweepTarget.h"
#include "data/TalDocument.h"

namespace {

class RecordingView final : public CDocumentView {
public:
    DisplayKind GetDisplayKind() const override { return DisplayKind::Gain; }
    void AddDataSetAttributes(int index) override { added.push_back(index); }
    void RemoveDataSetAttributes(int) override {}
    void RefreshDescriptionDialog(int) override {}
    void OnUpdate(int hint) override { hints.push_back(hint); }
    void StoreDisplayState(DisplayState&) const override {}
    void LoadDisplayState(const DisplayState&) override {}
    std::vector<int> added;
    std::vector<int> hints;
};

class FakeSource final : public SweepSource {
public:
    const analyzer::Reading& CurrentReading() const override { return reading; }
    analyzer::ChannelPair ChannelChoice() const override { return choice; }
    std::string AcquisitionLine() const override { return "Data gathered by the 5xxx System\r\n"; }
    void StoreParametersAndHide() override { ++stored; }
    QObject* SourceObject() override { return nullptr; }

    void At(double frequency)
    {
        reading.frequency = frequency;
        reading.amplitude = {1.0, 0.5, 0.25, 0.125};
        reading.phase = {0.0, -45.0, 10.0, 20.0};
    }
    analyzer::Reading reading;
    analyzer::ChannelPair choice{3, 1};
    int stored = 0;
};

class FakeHost final : public SweepTargetHost {
public:
    void DeselectAllDataSets() override { ++deselected; }
    bool AutomaticScaling() const override { return automatic; }
    std::optional<double> RlcReferenceResistor() const override { return reference; }
    void OnDataSetProperties() override { ++properties; }
    int deselected = 0;
    bool automatic = false;
    std::optional<double> reference;
    int properties = 0;
};

class Target : public testing::Test {
protected:
    void SetUp() override
    {
        document.AddView(&view);
        target.SetClock([] { return std::time_t(1700000000); });
    }
    CTalDocument document;
    RecordingView view;
    FakeHost host;
    FakeSource source;
    SweepTarget target{document, &host};
};

TEST_F(Target, FirstReadingCreatesTheSweepSetAndLaterOnesAppend)
{
    target.OnNewSweep(source);
    EXPECT_EQ(host.deselected, 1);
    EXPECT_TRUE(document.IsModified());

    source.At(100);
    target.OnNewReading(source);
    ASSERT_EQ(document.GetDataSetCount(), 1);
    EXPECT_EQ(view.added, std::vector<int>{0});
    const std::string description = document.GetDataSetDescription(0);
    EXPECT_TRUE(std::regex_match(description, std::regex("Data gathered by the 5xxx System\r\n"
                                                         "[01][0-9]:[0-5][0-9](AM|PM) [A-Z][a-z]+day, [A-Z][a-z]+ "
                                                         "[0-3][0-9], 2023")))
        << description;
    EXPECT_EQ(document.GetOutputNode(0), 2);
    EXPECT_EQ(document.GetInputNode(0), 1);
    EXPECT_EQ(document.GetScaleFactor(0), 1.0);
    EXPECT_EQ(host.properties, 1);  // the user names and colours the new set

    source.At(200);
    target.OnNewReading(source);
    EXPECT_EQ(document.GetDataSetCount(), 1);
    EXPECT_EQ(document.GetPointCount(0), 2);
    EXPECT_EQ(document.GetNodeVoltage(0, 1, 4), 0.125);
    EXPECT_EQ(document.GetNodePhase(0, 1, 2), -45.0);
    // The first reading redraws everything, the next only the band between the last two readings.
    EXPECT_EQ(view.hints, (std::vector<int>{0, 1036}));
    EXPECT_EQ(sweepBand().previousFrequency, 100.0);
    EXPECT_EQ(sweepBand().currentFrequency, 200.0);

    // A new sweep starts a new set.
    target.OnNewSweep(source);
    source.At(300);
    target.OnNewReading(source);
    EXPECT_EQ(document.GetDataSetCount(), 2);
}

TEST_F(Target, AutomaticScalingRedrawsEverything)
{
    host.automatic = true;
    source.At(100);
    target.OnNewReading(source);
    source.At(200);
    target.OnNewReading(source);
    EXPECT_EQ(view.hints, (std::vector<int>{0, 0}));
}

TEST_F(Target, WhileTheRlcPanelExistsTheScaleFactorIsTheNegatedReferenceResistor)
{
    host.reference = 1000.0;
    target.DataSetDefaults() = {3, 2, 5.0};
    source.At(100);
    target.OnNewReading(source);
    EXPECT_EQ(document.GetScaleFactor(0), -1000.0);
    EXPECT_EQ(document.GetOutputNode(0), 3);
    EXPECT_EQ(document.GetInputNode(0), 2);
    EXPECT_EQ(host.properties, 0);
}

TEST_F(Target, AcquisitionEndedTakesTheChannelChoiceAndStoresTheDialog)
{
    source.At(100);
    target.OnNewReading(source);
    target.OnAcquisitionEnded(source);
    EXPECT_FALSE(document.IsAcquiring());
    EXPECT_EQ(target.DataSetDefaults().outputNode, 3);
    EXPECT_EQ(target.DataSetDefaults().inputNode, 1);
    EXPECT_EQ(source.stored, 1);
    source.At(200);
    target.OnNewReading(source);
    EXPECT_EQ(document.GetDataSetCount(), 2);
    EXPECT_EQ(document.GetOutputNode(1), 3);
}

TEST(AcquisitionTimeStamp, EnglishNamesTwelveHourClock)
{
    std::tm local{};
    local.tm_year = 2024 - 1900;
    local.tm_mon = 2;  // March
    local.tm_mday = 5;
    local.tm_hour = 15;
    local.tm_min = 7;
    local.tm_isdst = -1;
    EXPECT_EQ(AcquisitionTimeStamp(std::mktime(&local)), "03:07PM Tuesday, March 05, 2024");
    local.tm_hour = 0;
    EXPECT_EQ(AcquisitionTimeStamp(std::mktime(&local)), "12:07AM Tuesday, March 05, 2024");
}

} // namespace
