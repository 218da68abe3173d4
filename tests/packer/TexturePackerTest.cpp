#include "model/TexturePacker.h"

#include "support/Fixtures.h"

#include <gtest/gtest.h>

namespace {

TEST(TexturePackerTest, StartsFromNothingAndRefusesWhatCannotGoOnAPage) {
    SpriteWad wad;
    wad.m_pages.resize(3);
    wad.m_entries.resize(2);
    TexturePacker packer(wad);
    EXPECT_TRUE(wad.m_pages.empty());
    EXPECT_TRUE(wad.m_entries.empty());

    const SpriteTexture fine = fixtures::MakeTexture(8, 8, 1);
    EXPECT_FALSE(packer.PlaceTexture(fine, 0)) << "there is no page 0 yet";
    EXPECT_EQ(packer.AddPage(), 0);
    EXPECT_FALSE(packer.PlaceTexture(fine, 1));
    EXPECT_FALSE(packer.PlaceTexture(fine, -1));
    EXPECT_FALSE(packer.PlaceTexture(SpriteTexture{}, 0));
    EXPECT_FALSE(packer.PlaceTexture(fixtures::MakeTexture(257, 1, 2), 0));
    EXPECT_TRUE(wad.m_entries.empty());
    TexturePage black;
    black.Create(256, 256);
    ASSERT_EQ(wad.m_pages.size(), 1u);
    EXPECT_EQ(wad.m_pages[0], black);

    EXPECT_TRUE(packer.PlaceTexture(fine, 0));
    ASSERT_EQ(wad.m_entries.size(), 1u);
    EXPECT_EQ(wad.m_entries[0].page, 0);
}

TEST(TexturePackerTest, PassesOverOnlyPagesKnownToBeTooFull) {
    SpriteWad wad;
    TexturePacker packer(wad);
    packer.AddPage();
    packer.AddPage();
    packer.AddPage();
    ASSERT_TRUE(packer.PlaceTexture(fixtures::MakeTexture(256, 200, 1), 0));
    ASSERT_TRUE(packer.PlaceTexture(fixtures::MakeTexture(256, 250, 2), 1));
    const SpriteTexture tall = fixtures::MakeTexture(10, 100, 3);
    const SpriteTexture flat = fixtures::MakeTexture(10, 40, 4);
    // Nothing has been learnt yet: every page is worth a try.
    EXPECT_EQ(packer.FirstPageWorthTrying(tall, 0), 0);
    EXPECT_FALSE(packer.PlaceTexture(tall, 0));
    EXPECT_FALSE(packer.PlaceTexture(tall, 1));
    EXPECT_EQ(packer.FirstPageWorthTrying(tall, 0), 2);
    EXPECT_EQ(packer.FirstPageWorthTrying(fixtures::MakeTexture(200, 101, 5), 0), 2)
        << "wider and taller than a known misfit";
    // Smaller than the misfit: page 0 may still hold it (and does).
    EXPECT_EQ(packer.FirstPageWorthTrying(flat, 0), 0);
    EXPECT_TRUE(packer.PlaceTexture(flat, 0));
    EXPECT_EQ(packer.FirstPageWorthTrying(tall, 3), 3);
}

} // namespace
