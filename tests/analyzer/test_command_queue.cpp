#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analyzer/sweep/CommLog.h"
#include "analyzer/sweep/CommandQueue.h"

using namespace analyzer;

namespace {

// Records every write and wait; fails the write with the given number (1-based), if any.
struct Bench {
    std::vector<std::string> writes;
    std::vector<int> waits;
    std::vector<std::string> events;  // writes and waits in order
    int failAt = 0;
    CommLog log;

    CommandWriter Writer()
    {
        return [this](const std::string& text) {
            writes.push_back(text);
            events.push_back("W:" + text);
            return static_cast<int>(writes.size()) != failAt;
        };
    }
    MillisecondSleeper Sleeper()
    {
        return [this](int ms) {
            waits.push_back(ms);
            events.push_back("S:" + std::to_string(ms));
        };
    }
};

} // namespace

TEST(CommandQueue, StartsTheNextStringWhenFiftyCharactersWouldBeExceeded)
{
    CommandQueue q;
    ASSERT_TRUE(q.QueueCommand("AMPL,0.00123;"));                                 // 13
    ASSERT_TRUE(q.QueueCommand("DCOF,-0.0123;"));                                 // 26
    ASSERT_TRUE(q.QueueCommand("ZZIN,1,1E6;ZZIN,2,1E6;ZZIN,3,1E6;ZZIN,4,1E6;"));  // 44 new
    ASSERT_TRUE(q.QueueCommand("ZOUT,50;"));                                      // 52 -> new
    ASSERT_TRUE(q.QueueCommand("TIME,1.23E+05;"));
    ASSERT_TRUE(q.QueueCommand("DELAY,TIME,100000.000;"));                       // 8+14+22 = 44
    ASSERT_TRUE(q.QueueCommand("WAVE,SQUA;"));                                   // 54 -> new
    EXPECT_EQ(q.Strings(), (std::vector<std::string>{
                               "AMPL,0.00123;DCOF,-0.0123;",
                               "ZZIN,1,1E6;ZZIN,2,1E6;ZZIN,3,1E6;ZZIN,4,1E6;",
                               "ZOUT,50;TIME,1.23E+05;DELAY,TIME,100000.000;",
                               "WAVE,SQUA;"}));
    // Exactly fifty characters still fit in one string.
    CommandQueue exact;
    ASSERT_TRUE(exact.QueueCommand(std::string(30, 'A')));
    ASSERT_TRUE(exact.QueueCommand(std::string(20, 'B')));
    EXPECT_EQ(exact.Strings().size(), 1u);
}

TEST(CommandQueue, RefusesWhatItCannotHoldInsteadOfOverflowing)
{
    CommandQueue q;
    EXPECT_FALSE(q.QueueCommand(std::string(51, 'X')));
    EXPECT_TRUE(q.Empty());
    for (int i = 0; i < 4; ++i)
        ASSERT_TRUE(q.QueueCommand(std::string(45, char('a' + i))));
    EXPECT_FALSE(q.QueueCommand("MEAS;MEAS;"));
    EXPECT_EQ(q.Strings().size(), 4u);
    EXPECT_EQ(q.Strings()[3], std::string(45, 'd'));
}

TEST(CommandQueue, ASettingGoesOutOncePerWriteWithTheTextQueuedLast)
{
    CommandQueue q;
    EXPECT_TRUE(q.QueueOnce(kQueuedAmplitude, "AMPL,1;"));
    EXPECT_TRUE(q.QueueCommand("DCOF,0.5;"));
    EXPECT_TRUE(q.QueueOnce(kQueuedAmplitude, "AMPL,2;"));
    EXPECT_TRUE(q.QueueOnce(kQueuedWaveform, "WAVE,SINE;"));
    EXPECT_EQ(q.Strings(), std::vector<std::string>{"AMPL,2;DCOF,0.5;WAVE,SINE;"});
    q.Clear();
    EXPECT_FALSE(q.IsQueued(kQueuedAmplitude));
    EXPECT_TRUE(q.QueueOnce(kQueuedAmplitude, "AMPL,0.5;"));
    EXPECT_EQ(q.Strings(), std::vector<std::string>{"AMPL,0.5;"});
}

TEST(CommandQueue, ALongerTextThatNoLongerFitsLeavesTheSettingUnqueued)
{
    CommandQueue q;
    ASSERT_TRUE(q.QueueOnce(kQueuedAmplitude, "AMPL,1;"));
    ASSERT_TRUE(q.QueueCommand(std::string(43, 'a')));  // 50: the first string is full
    for (char c : std::string("bcd"))
        ASSERT_TRUE(q.QueueCommand(std::string(50, c)));
    EXPECT_FALSE(q.QueueOnce(kQueuedAmplitude, "AMPL,0.00123;"));
    EXPECT_FALSE(q.IsQueued(kQueuedAmplitude));
    EXPECT_EQ(q.Strings().front(), std::string(43, 'a'));
    // A text of the same length still takes the earlier one's place.
    CommandQueue same;
    ASSERT_TRUE(same.QueueOnce(kQueuedAmplitude, "AMPL,1;"));
    ASSERT_TRUE(same.QueueCommand(std::string(43, 'a')));
    for (char c : std::string("bcd"))
        ASSERT_TRUE(same.QueueCommand(std::string(50, c)));
    EXPECT_TRUE(same.QueueOnce(kQueuedAmplitude, "AMPL,3;"));
    EXPECT_EQ(same.Strings().front(), "AMPL,3;" + std::string(43, 'a'));
}

TEST(SendQueuedCommands, JoinedModeWritesOnceAndLogsTheJoinedText)
{
    Bench bench;
    CommandQueue q;
    q.QueueCommand(std::string(40, 'a') + ";");
    q.QueueCommand("FREQ,12.59;MEAS;");
    const auto failure = SendQueuedCommands(q, QueuedWriteMode::Joined, Bus::Gpib, bench.Writer(),
                                            bench.Sleeper(), bench.log);
    EXPECT_FALSE(failure);
    const std::string joined = std::string(40, 'a') + ";FREQ,12.59;MEAS;";
    EXPECT_EQ(bench.writes, std::vector<std::string>{joined});
    EXPECT_TRUE(bench.waits.empty());
    EXPECT_EQ(bench.log.Text(), "Sent:'" + joined + "'\r\n");
    EXPECT_TRUE(q.Empty());
}

TEST(SendQueuedCommands, SeparateModeWaitsAfterEveryThirdString)
{
    Bench bench;
    CommandQueue q;
    for (char c : std::string("abcd"))
        q.QueueCommand(std::string(45, c));
    EXPECT_FALSE(SendQueuedCommands(q, QueuedWriteMode::Separate, Bus::Usb, bench.Writer(),
                                    bench.Sleeper(), bench.log));
    EXPECT_EQ(bench.events,
              (std::vector<std::string>{"W:" + std::string(45, 'a'), "W:" + std::string(45, 'b'),
                                        "W:" + std::string(45, 'c'), "S:200", "W:" + std::string(45, 'd')}));
    EXPECT_EQ(bench.log.LineCount(), 4u);
    EXPECT_EQ(bench.log.Text().substr(0, 54), "Sent:'" + std::string(45, 'a') + "'\r\n");
}

TEST(SendQueuedCommands, AFailedWriteLeavesTheRestUnsentAndNamesTheBus)
{
    struct Case {
        Bus bus;
        QueuedWriteMode mode;
        const char* context;
    } cases[] = {
        {Bus::Gpib, QueuedWriteMode::Separate,
         "In WriteToGPIBMultiString(), command WriteToGPIBMultiString has an Error"},
        {Bus::Gpib, QueuedWriteMode::Joined,
         "In WriteToGPIBMultiString(), command WriteToGPIBMultiString has an Error"},
        {Bus::Usb, QueuedWriteMode::Separate,
         "In WriteToUsb488MultiString(), command tal2600_WriteInstrData has an Error"},
    };
    for (const Case& c : cases) {
        Bench bench;
        bench.failAt = (c.mode == QueuedWriteMode::Joined) ? 1 : 2;
        CommandQueue q;
        for (char ch : std::string("abc"))
            q.QueueCommand(std::string(45, ch));
        q.QueueOnce(kQueuedAmplitude, "AMPL,1;");
        const auto failure = SendQueuedCommands(q, c.mode, c.bus, bench.Writer(), bench.Sleeper(), bench.log);
        ASSERT_TRUE(failure);
        EXPECT_EQ(*failure, c.context);
        EXPECT_EQ(bench.writes.size(), static_cast<std::size_t>(bench.failAt));
        EXPECT_EQ(bench.log.LineCount(), static_cast<std::size_t>(bench.failAt - 1));
        // The queue is empty and a setting can be queued again at the next measurement.
        EXPECT_TRUE(q.Empty());
        EXPECT_FALSE(q.IsQueued(kQueuedAmplitude));
    }
}

TEST(CommLog, KeepsAtMostTwoHundredFiftyLinesDroppingTheOldestInPairs)
{
    CommLog log;
    for (int i = 1; i <= 250; ++i)
        log.AddToCommLog(SentLine("L" + std::to_string(i)));
    EXPECT_EQ(log.LineCount(), 250u);
    log.AddToCommLog(ReceivedLine("L251"));
    EXPECT_EQ(log.LineCount(), 249u);
    EXPECT_TRUE(log.Text().starts_with("Sent:'L3'\r\nSent:'L4'\r\n"));
    EXPECT_EQ(log.Text().substr(log.CaretPosition()), "Received:'L251'\r\n");

    // A long report appended at once still leaves the log within the bound.
    std::string report;
    for (int i = 0; i < 40; ++i)
        report += "report line\r\n";
    log.AddToCommLog(report);
    EXPECT_LE(log.LineCount(), 250u);
    EXPECT_GE(log.LineCount(), 249u);
    EXPECT_EQ(log.Text().substr(log.CaretPosition()), report);
}

TEST(CommLog, ReplaceAndSuppression)
{
    CommLog log;
    log.AddToCommLog("GPIB connection opened.\r\n");
    log.SetSuppressed(true);
    log.AddToCommLog(SentLine("ABORT;"));
    EXPECT_EQ(log.Text(), "GPIB connection opened.\r\n");
    log.AddToCommLog("USB connection opened.\r\n", true);
    EXPECT_EQ(log.Text(), "USB connection opened.\r\n");
    EXPECT_EQ(log.CaretPosition(), 0u);
    log.SetSuppressed(false);
    log.AddToCommLog(SentLine("*SRE,1;"));
    EXPECT_EQ(log.Text(), "USB connection opened.\r\nSent:'*SRE,1;'\r\n");
}
