#include "packing/RecoveryCopy.h"
#include "support/Fixtures.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

// Whatever writes a texture's pixels after a snapshot was taken, the snapshot keeps the
// pixels it saw, and the document gets what was written.
TEST(RecoverySnapshot, WritesAfterItDoNotReachIt) {
    const struct {
        const char* name;
        std::function<void(SpriteTexture&)> write;
    } writers[] = {
        {"GetBits", [](SpriteTexture& t) { t.GetBits()[4] ^= 0xFF; }},
        {"Fill", [](SpriteTexture& t) { t.Fill(0, 0, 2, 2, 0x123456); }},
        {"Combine", [](SpriteTexture& t) { t.Combine(fixtures::MakeTexture(2, 2, 7), 1, 1); }},
        {"FlipVertical", [](SpriteTexture& t) { t.FlipVertical(); }},
    };
    for (const auto& writer : writers) {
        SCOPED_TRACE(writer.name);
        SpriteWad wad = fixtures::GeneratedSet(6, 8, 3);
        wad.m_textures[2] = fixtures::MakeTexture(4, 5, 1);
        const SpriteWad before = wad;
        const SpriteWad snapshot = RecoverySnapshot(wad);
        writer.write(wad.m_textures[2]);
        EXPECT_TRUE(snapshot.m_textures == before.m_textures);
        EXPECT_EQ(snapshot.m_sequences, before.m_sequences);
        EXPECT_FALSE(wad.m_textures[2] == before.m_textures[2]);
        // A copy of the snapshot is a copy of its own.
        SpriteTexture copy = snapshot.m_textures[2];
        writer.write(copy);
        EXPECT_TRUE(snapshot.m_textures == before.m_textures);
    }
}

TEST(RecoveryNote, DamagedNotesAreRefused) {
    fixtures::TempDir dir;
    for (const std::string text : {"vornix recovery note 2\n12\n/a", "vornix recovery note 1\n",
                                   "vornix recovery note 1\n1x\n/a", "vornix recov"}) {
        SCOPED_TRACE(text);
        const std::string path = (dir / "note").string();
        fixtures::WriteFileBytes(path, {text.begin(), text.end()});
        const Result<RecoveryNote> read = ReadRecoveryNote(path);
        EXPECT_EQ(read.fault(), Fault::Damaged);
        EXPECT_EQ(read.message(), "The recovery note \"" + path + "\" is damaged");
    }
    EXPECT_EQ(ReadRecoveryNote((dir / "missing").string()).fault(), Fault::OpenFailed);
}

} // namespace
