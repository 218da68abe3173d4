// Adding, re-numbering and deleting objects, and where imported textures go.
#include "ObjectTestSupport.h"

#include "objects/ObjectOperations.h"

#include <gtest/gtest.h>

using objtest::Layout;
using objtest::MakeWad;

namespace {

constexpr int kSky = objects::kSkyGraphicsChoice;
constexpr int kDefault = objects::kDefaultSpritesChoice;
constexpr int kCustomId = objects::kCustomObjectIdChoice;

TEST(ObjectChoices, PreselectionFollowsWhatExists) {
    const std::pair<const char*, int> wads[] = {{"", kDefault},
                                                {"463:0@0", kSky},
                                                {"460:0@0", kDefault},
                                                {"463:0@0 460:0@0", objects::kCustomSpritesChoice}};
    for (const auto& [objs, expected] : wads) {
        EXPECT_EQ(objects::PreselectedChoice(MakeWad(objs)), expected) << objs;
    }
    const std::pair<std::uint32_t, int> slots[] = {{460, 0}, {463, 1}, {464, 2}, {470, 3},
                                                   {494, 4}, {12, 5},  {0, 5},   {465, 5}};
    for (const auto& [slot, choice] : slots) {
        EXPECT_EQ(objects::ChoiceOfSlot(slot), choice) << slot;
        EXPECT_EQ(objects::SlotOfChoice(choice, slot), slot);
    }
}

TEST(AddObject, PlacementByChoiceAndRefusals) {
    const struct {
        const char* before;
        int choice;
        std::uint32_t typed;
        std::size_t position;
        const char* after; // or the refusal
    } cases[] = {
        {"", kDefault, 463, 0, "463:0@0"},
        {"463:2@0", kSky, 460, 0, "460:0@0 463:2@0"},
        {"460:1@0 464:1@1", kDefault, 463, 1, "460:1@0 463:0@0 464:1@1"},
        {"464:1@0", kDefault, 463, 0, "463:0@0 464:1@0"},
        {"460:37@0", 2, 0, 1, "460:37@0 464:0@37"},
        {"460:37@0", kCustomId, 0, 1, "460:37@0 0:0@37"},
        {"", kCustomId, 600, 0, "600:0@0"},
        {"463:3@0", kCustomId, 460, 1, "463:3@0 460:0@3"},
        {"460:3@0", kCustomId, 463, 1, "460:3@0 463:0@3"},
        {"494:0@0 460:0@0 463:0@0", objects::kCustomSpritesChoice, 0, 0,
         "494: CUSTOM_SPRITES already exist, choose another"},
        {"460:0@0", kSky, 0, 0, "460: SKY_GRAPHICS already exist, choose another"},
        {"600:0@0", kCustomId, 600, 0, "600: UNKNOWN_SPRITES already exist, choose another"},
        // 65536 textures (a file may hold that many): a new first index would not fit, but
        // the special objects start at texture 0.
        {"463:32768@0 464:32768@32768", kCustomId, 5, 0,
         "No object can be added: a new object would start at texture 65536, past the 65535 a "
         "sprite wad can address."},
        {"463:32768@0 464:32768@32768", kSky, 0, 0, "460:0@0 463:32768@0 464:32768@32768"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.before);
        SpriteWad wad = MakeWad(c.before);
        const SpriteWad before = wad;
        const objects::AddedObject added = objects::AddObject(wad, c.choice, c.typed);
        if (added.ok()) {
            EXPECT_EQ(added.position, c.position);
            EXPECT_EQ(Layout(wad), c.after);
            EXPECT_TRUE(wad.m_textures == before.m_textures);
        } else {
            EXPECT_EQ(added.message, c.after);
            EXPECT_TRUE(objtest::SameDocument(wad, before));
        }
    }
}

TEST(EditObject, RenumbersInPlaceAndRefusesAnyExistingId) {
    SpriteWad wad = MakeWad("463:2@0 12:3@2");
    const SpriteWad before = wad;
    // Its own id clashes like any other.
    for (const auto& [choice, typed, text] :
         {std::tuple{kCustomId, 12u, "12: LARA_REVOLVER_LASER already exist, choose another"},
          std::tuple{kDefault, 0u, "463: DEFAULT_SPRITES already exist, choose another"}}) {
        EXPECT_EQ(objects::EditObject(wad, 1, choice, typed).message, text);
        EXPECT_TRUE(objtest::SameDocument(wad, before));
    }
    const objects::EditedObject edited = objects::EditObject(wad, 1, kSky, 0);
    ASSERT_TRUE(edited.ok());
    EXPECT_EQ(edited.previousSlot, 12u);
    EXPECT_EQ(Layout(wad), "463:2@0 460:3@2");
    EXPECT_TRUE(wad.m_textures == before.m_textures);
    ASSERT_TRUE(objects::EditObject(wad, 0, kCustomId, 70000).ok());
    EXPECT_EQ(Layout(wad), "70000:2@0 460:3@2");
}

TEST(DeleteObject, TakesTheRunAndShiftsLaterRuns) {
    // Runs listed in another order than they lie; the last object is empty.
    const char* const objs = "3:2@8 1:5@0 2:3@5 4:0@10";
    const struct {
        std::size_t object;
        const char* after;
        std::vector<int> kept;
    } cases[] = {
        {2, "3:2@5 1:5@0 4:0@7", {0, 1, 2, 3, 4, 8, 9}},
        {0, "1:5@0 2:3@5 4:0@8", {0, 1, 2, 3, 4, 5, 6, 7}},
        {1, "3:2@3 2:3@0 4:0@5", {5, 6, 7, 8, 9}},
        {3, "3:2@8 1:5@0 2:3@5", {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.object);
        SpriteWad wad = MakeWad(objs);
        const SpriteWad before = wad;
        const objects::RemovedObject removed = objects::DeleteObject(wad, c.object);
        EXPECT_EQ(Layout(wad), c.after);
        ASSERT_EQ(wad.TextureCount(), c.kept.size());
        for (std::size_t i = 0; i < c.kept.size(); ++i) {
            EXPECT_TRUE(wad.m_textures[i] == before.m_textures[c.kept[i]]) << i;
        }
        // What came out is what a later undo needs to put it back.
        EXPECT_EQ(removed.position, c.object);
        EXPECT_EQ(removed.sequence, before.m_sequences[c.object]);
        const auto first = before.m_textures.begin() + removed.sequence.firstTexture;
        EXPECT_TRUE(std::equal(removed.textures.begin(), removed.textures.end(), first,
                               first + removed.sequence.TextureCount()));
    }
}

TEST(ImportTextures, MergesOrPlacesByIdAndShiftsOtherRuns) {
    const struct {
        const char* before;
        std::uint32_t slot;
        int count;
        std::size_t position;
        bool created;
        const char* after;
    } cases[] = {
        {"464:2@0 494:1@2", 460, 3, 0, true, "460:3@0 464:2@3 494:1@5"},
        {"460:1@0 464:2@1", 463, 2, 1, true, "460:1@2 463:2@0 464:2@3"},
        {"460:1@0", 4464, 2, 1, true, "460:1@0 4464:2@1"},
        {"464:2@1 460:1@0", 460, 2, 1, false, "464:2@3 460:3@0"},
        {"460:1@0", 470, 0, 1, true, "460:1@0 470:0@1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.before);
        SpriteWad wad = MakeWad(c.before);
        std::vector<SpriteTexture> incoming;
        for (int i = 0; i < c.count; ++i) {
            incoming.push_back(fixtures::MakeTexture(5, 3, 100u + static_cast<std::uint32_t>(i)));
        }
        const objects::ImportedObject imported = objects::ImportTextures(wad, c.slot, incoming);
        ASSERT_TRUE(imported.target.ok()) << imported.target.message;
        EXPECT_EQ(imported.target.position, c.position);
        EXPECT_EQ(imported.target.created, c.created);
        EXPECT_EQ(imported.added, static_cast<std::size_t>(c.count));
        EXPECT_EQ(Layout(wad), c.after);
        const int own = wad.m_sequences[c.position].TextureCount() - c.count;
        for (int i = 0; i < c.count; ++i) {
            EXPECT_TRUE(wad.ObjectTexture(c.position, own + i) == incoming[i]) << i;
        }
        EXPECT_TRUE(wad.RunsAreValid());
    }
}

TEST(ImportTextures, LimitsAreCheckedBeforeAnythingChanges) {
    const struct {
        const char* before;
        std::uint32_t slot;
        std::size_t count;
        std::string message; // empty: accepted
    } cases[] = {
        {"460:32760@0", 460, 7, ""},
        {"460:32760@0", 460, 8,
         "Object 460: SKY_GRAPHICS cannot take 8 more textures: it holds 32760, and an object "
         "holds at most 32767."},
        {"", 464, 32768,
         "Object 464: MISC_SPRITES cannot take 32768 more textures: it holds 0, and an object "
         "holds at most 32767."},
        {"460:32767@0 463:32760@32767", 464, 8, ""},
        {"460:32767@0 463:32760@32767", 464, 9,
         "The sprite wad cannot take 9 more textures: it holds 65527, and a sprite wad holds at "
         "most 65535."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.count);
        SpriteWad wad = MakeWad(c.before);
        const SpriteWad before = wad;
        std::vector<SpriteTexture> incoming(c.count, fixtures::MakeTexture(1, 1, 9));
        const objects::ImportedObject imported = objects::ImportTextures(wad, c.slot, incoming);
        EXPECT_EQ(imported.target.message, c.message);
        if (c.message.empty()) {
            EXPECT_EQ(imported.added, c.count);
            EXPECT_EQ(wad.TextureCount(), before.TextureCount() + c.count);
        } else {
            EXPECT_EQ(imported.added, 0u);
            EXPECT_TRUE(objtest::SameDocument(wad, before));
        }
    }
}

} // namespace
