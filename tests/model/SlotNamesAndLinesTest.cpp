#include "model/ListLines.h"
#include "model/ObjectSlotNames.h"

#include <gtest/gtest.h>

#include <limits>
#include <set>

TEST(SlotNames, TableEndsAndSpecialSlots) {
    EXPECT_EQ(LookupSlotName(0), "LARA");
    EXPECT_EQ(LookupSlotName(498), "NUMBER_OBJECTS");
    EXPECT_EQ(LookupSlotName(kSkyGraphicsSlot), "SKY_GRAPHICS");
    EXPECT_EQ(LookupSlotName(kDefaultSpritesSlot), "DEFAULT_SPRITES");
    EXPECT_EQ(LookupSlotName(kMiscSpritesSlot), "MISC_SPRITES");
    EXPECT_EQ(LookupSlotName(kFontGraphicsSlot), "FONT_GRAPHICS");
    EXPECT_EQ(LookupSlotName(kCustomSpritesSlot), "CUSTOM_SPRITES");
    EXPECT_EQ(LookupSlotName(339), "SARCOPHAGUS");
    EXPECT_EQ(LookupSlotName(459), "HORIZON");
}

TEST(SlotNames, EveryNumberPastTheTableIsUnknown) {
    for (std::uint32_t slot :
         {499u, 500u, 65535u, 65536u, std::numeric_limits<std::uint32_t>::max()}) {
        EXPECT_EQ(LookupSlotName(slot), "UNKNOWN_SPRITES") << slot;
    }
}

TEST(SlotNames, NamesAreDistinctIdentifiers) {
    std::set<std::string_view> seen;
    for (std::string_view name : ObjectSlotNames) {
        EXPECT_FALSE(name.empty());
        EXPECT_EQ(name.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_"), name.npos)
            << name;
        EXPECT_TRUE(seen.insert(name).second) << "repeated " << name;
    }
}

TEST(ListLines, ExactFormats) {
    EXPECT_EQ(FormatObjectLine(463, 33), "463: DEFAULT_SPRITES  Textures=33");
    EXPECT_EQ(FormatObjectLine(600, 0), "600: UNKNOWN_SPRITES  Textures=0");
    EXPECT_EQ(FormatObjectLine(4294967295u, 1), "4294967295: UNKNOWN_SPRITES  Textures=1");
    EXPECT_EQ(FormatTextureLine(0, 64, 64), "Texture 0 :  (64 x 64)");
    EXPECT_EQ(FormatTextureLine(32, 256, 1), "Texture 32 :  (256 x 1)");

    ObjectSequence positive;
    positive.slotId = 460;
    positive.negCount = 4;
    ObjectSequence negated = positive;
    negated.negCount = -4;
    EXPECT_EQ(FormatObjectLine(positive), "460: SKY_GRAPHICS  Textures=4");
    EXPECT_EQ(FormatObjectLine(negated), FormatObjectLine(positive));
}
