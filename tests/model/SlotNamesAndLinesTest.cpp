#include "model/ListLines.h"
#include "model/ObjectSlotNames.h"
#include "model/TextureFileName.h"

#include <gtest/gtest.h>

#include <limits>

TEST(SlotNames, TableEndsAndListLines) {
    EXPECT_EQ(LookupSlotName(0), "LARA");
    EXPECT_EQ(LookupSlotName(kSkyGraphicsSlot), "SKY_GRAPHICS");
    EXPECT_EQ(LookupSlotName(498), "NUMBER_OBJECTS");
    for (std::uint32_t slot : {499u, 65536u, std::numeric_limits<std::uint32_t>::max()}) {
        EXPECT_EQ(LookupSlotName(slot), "UNKNOWN_SPRITES") << slot;
    }

    EXPECT_EQ(FormatObjectLine(463, 33), "463: DEFAULT_SPRITES  Textures=33");
    EXPECT_EQ(FormatObjectLine(4294967295u, 1), "4294967295: UNKNOWN_SPRITES  Textures=1");
    EXPECT_EQ(FormatTextureLine(32, 256, 1), "Texture 32 :  (256 x 1)");
    EXPECT_EQ(FormatObjectLine(ObjectSequence{460, -4, 0}), "460: SKY_GRAPHICS  Textures=4");
}

TEST(TextureFileName, PrefixBySlotThenTheLineNumber) {
    const struct {
        std::uint32_t slot;
        int line;
        const char* name;
    } cases[] = {{460, 0, "Sky_0"},
                 {463, 3, "Default_3"},
                 {464, 12, "Misc_12"},
                 {494, 2, "Custom_2"},
                 {461, 2, "Texture_2"}};
    for (const auto& c : cases) {
        EXPECT_EQ(ProposedTextureFileName(c.slot, c.line), c.name);
    }
}
