#include "document/ListLines.h"
#include "document/ObjectSlotNames.h"
#include "document/TextureFileName.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

TEST(SlotNames, TableEndsAndTheLargestSlotsLine) {
    EXPECT_EQ(LookupSlotName(0), "LARA");
    EXPECT_EQ(LookupSlotName(498), "NUMBER_OBJECTS");
    // Every name between, as checked once against the published list, pinned by a hash.
    std::uint64_t hash = 0xcbf29ce484222325;
    for (std::uint32_t slot = 0; slot < 499; ++slot) {
        for (const char c : LookupSlotName(slot) + '\n') {
            hash = (hash ^ static_cast<unsigned char>(c)) * 0x100000001b3;
        }
    }
    EXPECT_EQ(hash, 0x65ca8ccdcb229d18u);
    for (std::uint32_t slot : {499u, 65536u, std::numeric_limits<std::uint32_t>::max()}) {
        EXPECT_EQ(LookupSlotName(slot), "UNKNOWN_SPRITES") << slot;
    }

    EXPECT_EQ(FormatObjectLine(4294967295u, 1), "4294967295: UNKNOWN_SPRITES  Textures=1");
}

TEST(TextureFileName, PrefixBySlotThenTheLineNumber) {
    EXPECT_EQ(ProposedTextureFileName(460, 0), "Sky_0");
    EXPECT_EQ(ProposedTextureFileName(463, 3), "Default_3");
    EXPECT_EQ(ProposedTextureFileName(464, 12), "Misc_12");
    EXPECT_EQ(ProposedTextureFileName(494, 2), "Custom_2");
    EXPECT_EQ(ProposedTextureFileName(461, 2), "Texture_2");
}
