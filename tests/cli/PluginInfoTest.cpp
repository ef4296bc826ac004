#include "cli/PluginInfo.h"

#include <gtest/gtest.h>

namespace {

TEST(FlagNames, NamesEachSetBitInBitOrder) {
    EXPECT_TRUE(flagNames(0).empty());
    EXPECT_EQ(flagNames(0x19), (std::vector<std::string>{"HasEditor", "CanMono", "CanOverwrite"}));
    EXPECT_EQ(flagNames(0xE26),
              (std::vector<std::string>{"HasClip", "HasMeter", "ChunkPrograms", "SilentWhenStopped",
                                        "AsyncProcessing", "ExternalBuffer"}));
    EXPECT_EQ(flagNames(0x100), std::vector<std::string>{"IsInstrument"});
}

TEST(FlagNames, ShowsUnnamedBitsAsHex) {
    EXPECT_EQ(flagNames(0x40 | 0x10 | 0x1000),
              (std::vector<std::string>{"CanOverwrite", "0x40", "0x1000"}));
    EXPECT_EQ(flagNames(static_cast<std::int32_t>(0x80000000u)),
              std::vector<std::string>{"0x80000000"});
}

TEST(FourCharText, ReadsTheMostSignificantByteFirst) {
    EXPECT_EQ(fourCharText(0x56737450), "VstP");
    EXPECT_EQ(fourCharText(fourCharCode('N', 'o', 'E', 'f')), "NoEf");
    EXPECT_EQ(fourCharText(fourCharCode('A', '\0', '\x7F', '\xFF')), "A...");
    EXPECT_EQ(hexText(fourCharCode('N', 'o', 'E', 'f')), "0x4E6F4566");
    EXPECT_EQ(hexText(-1), "0xFFFFFFFF");
}

} // namespace
