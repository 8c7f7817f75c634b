#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "analyzer/sweep/ChannelLists.h"

using namespace analyzer;

TEST(ChannelLists, EntriesFollowTheChannelCountAndTheRatio)
{
    EXPECT_EQ(ChannelRatioEntries(2), (std::vector<std::string>{"CH1/CH2", "CH2/CH1"}));
    EXPECT_EQ(ChannelRatioEntries(3).size(), 6u);
    EXPECT_EQ(ChannelRatioEntries(4).back(), "CH4/CH3");
    EXPECT_EQ(ServoChannelEntries(2, {2, 1}),
              (std::vector<std::string>{"CH 1", "CH 2", "Larger of CH1,2", "Smaller of CH1,2"}));
    EXPECT_EQ(ServoChannelEntries(3, {3, 1}),
              (std::vector<std::string>{"CH 1", "CH 2", "CH 3", "Larger of CH1,3", "Smaller of CH1,3"}));
    EXPECT_EQ(ServoEntryText(ServoChoice::Smaller, {2, 3}), "Smaller of CH2,3");
}

TEST(ChannelLists, RatioSelectedWhenTheListsAreFilled)
{
    EXPECT_EQ(RatioForNumerator(2, 2), (ChannelPair{2, 1}));
    EXPECT_EQ(RatioForNumerator(1, 2), (ChannelPair{1, 2}));
    EXPECT_EQ(RatioForNumerator(3, 2), (ChannelPair{1, 2}));  // not in a two-channel list
    EXPECT_EQ(RatioForNumerator(3, 3), (ChannelPair{3, 2}));
    EXPECT_EQ(RatioForNumerator(4, 3), (ChannelPair{1, 2}));
    EXPECT_EQ(RatioForNumerator(4, 4), (ChannelPair{4, 3}));
}

TEST(ChannelLists, RatioFromStoredTextByThirdAndSeventhCharacter)
{
    const struct {
        const char* text;
        int channels;
        std::optional<ChannelPair> pair;
    } cases[] = {
        {"CH1/CH2\r\n", 2, ChannelPair{1, 2}},
        {"CH2/CH1", 2, ChannelPair{2, 1}},
        {"CH1/CH3", 2, std::nullopt},
        {"CH2/CH", 3, std::nullopt},
        {"CH1/CH2", 3, ChannelPair{1, 2}},
        {"CH1/CH9", 3, ChannelPair{1, 3}},
        {"CH2/CH1", 4, ChannelPair{2, 1}},
        {"CH2/CH3", 3, ChannelPair{2, 3}},
        {"CH3/CH1", 3, ChannelPair{3, 1}},
        {"CH3/CH2", 4, ChannelPair{3, 2}},
        {"CH4/CH3", 4, ChannelPair{4, 3}},
        {"CH4/CH3", 3, std::nullopt},
        {"xx?yyyy", 3, ChannelPair{2, 1}},  // any other numerator: the third entry
    };
    for (const auto& c : cases)
        EXPECT_EQ(RatioFromStoredText(c.text, c.channels), c.pair) << c.text << " " << c.channels;
}
