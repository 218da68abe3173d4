// Adding, re-numbering and deleting objects, and where imported textures go.
#include "ObjectTestSupport.h"

#include "objects/ObjectOperations.h"

#include <gtest/gtest.h>

using objtest::MakeWad;
using objtest::Obj;
using objtest::Objects;

namespace {

constexpr int kSky = objects::kSkyGraphicsChoice;
constexpr int kDefault = objects::kDefaultSpritesChoice;
constexpr int kCustomId = objects::kCustomObjectIdChoice;

TEST(ObjectChoices, PreselectionFollowsWhatExists) {
    const struct {
        std::vector<Obj> objs;
        int expected;
    } cases[] = {
        {{}, kDefault},
        {{{463, 0, 0}}, kSky},
        {{{460, 0, 0}}, kDefault},
        {{{463, 0, 0}, {460, 0, 0}}, objects::kCustomSpritesChoice},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(objects::PreselectedChoice(MakeWad(c.objs, 0)), c.expected) << c.objs.size();
    }
    const std::pair<std::uint32_t, int> slots[] = {{460, 0}, {463, 1}, {464, 2}, {470, 3},
                                                   {494, 4}, {12, 5},  {0, 5},   {465, 5}};
    for (const auto& [slot, choice] : slots) {
        EXPECT_EQ(objects::ChoiceOfSlot(slot), choice) << slot;
        EXPECT_EQ(objects::SlotOfChoice(choice, slot), slot);
    }
}

TEST(AddObject, PlacementByChoice) {
    const struct {
        const char* name;
        std::vector<Obj> objs;
        int textures;
        int choice;
        std::uint32_t typed;
        std::size_t position;
        std::vector<Obj> after;
    } cases[] = {
        {"first object", {}, 0, kDefault, 463, 0, {{463, 0, 0}}},
        {"sky before default", {{463, 2, 0}}, 2, kSky, 460, 0, {{460, 0, 0}, {463, 2, 0}}},
        {"default behind sky",
         {{460, 1, 0}, {464, 1, 1}},
         2,
         kDefault,
         463,
         1,
         {{460, 1, 0}, {463, 0, 0}, {464, 1, 1}}},
        {"default first without sky",
         {{464, 1, 0}},
         1,
         kDefault,
         463,
         0,
         {{463, 0, 0}, {464, 1, 0}}},
        {"fixed item appended", {{460, 37, 0}}, 37, 2, 0, 1, {{460, 37, 0}, {464, 0, 37}}},
        {"custom id 0 is LARA", {{460, 37, 0}}, 37, kCustomId, 0, 1, {{460, 37, 0}, {0, 0, 37}}},
        {"custom id 600", {}, 0, kCustomId, 600, 0, {{600, 0, 0}}},
        {"typed 460 appended", {{463, 3, 0}}, 3, kCustomId, 460, 1, {{463, 3, 0}, {460, 0, 3}}},
        {"typed 463 appended", {{460, 3, 0}}, 3, kCustomId, 463, 1, {{460, 3, 0}, {463, 0, 3}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SpriteWad wad = MakeWad(c.objs, c.textures);
        const objects::AddedObject added = objects::AddObject(wad, c.choice, c.typed);
        ASSERT_TRUE(added.ok()) << added.message;
        EXPECT_EQ(added.position, c.position);
        EXPECT_EQ(Objects(wad), c.after);
        EXPECT_EQ(wad.TextureCount(), static_cast<std::size_t>(c.textures));
    }
}

TEST(AddObject, RefusalsChangeNothing) {
    const struct {
        std::vector<Obj> objs;
        int textures;
        int choice;
        std::uint32_t typed;
        objects::AddedObject::Status status;
        std::string message;
    } cases[] = {
        {{{494, 0, 0}, {460, 0, 0}, {463, 0, 0}},
         0,
         objects::kCustomSpritesChoice,
         0,
         objects::AddedObject::Status::Duplicate,
         "494: CUSTOM_SPRITES already exist, choose another"},
        {{{460, 0, 0}},
         0,
         kSky,
         0,
         objects::AddedObject::Status::Duplicate,
         "460: SKY_GRAPHICS already exist, choose another"},
        {{{600, 0, 0}},
         0,
         kCustomId,
         600,
         objects::AddedObject::Status::Duplicate,
         "600: UNKNOWN_SPRITES already exist, choose another"},
        // 65536 textures (a file may hold that many): a new first index would not fit.
        {{{463, 32768, 0}, {464, 32768, 32768}},
         65536,
         kCustomId,
         5,
         objects::AddedObject::Status::Full,
         "No object can be added: a new object would start at texture 65536, past the 65535 a "
         "sprite wad can address."},
    };
    for (const auto& c : cases) {
        SpriteWad wad = MakeWad(c.objs, c.textures);
        const SpriteWad before = wad;
        const objects::AddedObject added = objects::AddObject(wad, c.choice, c.typed);
        EXPECT_EQ(added.status, c.status);
        EXPECT_EQ(added.message, c.message);
        EXPECT_TRUE(objtest::SameDocument(wad, before));
    }
    // The special objects start at texture 0 and so still fit.
    SpriteWad full = MakeWad({{463, 32768, 0}, {464, 32768, 32768}}, 65536);
    EXPECT_TRUE(objects::AddObject(full, kSky, 0).ok());
}

TEST(EditObject, RenumbersInPlaceAndRefusesAnyExistingId) {
    SpriteWad wad = MakeWad({{463, 2, 0}, {12, 3, 2}}, 5);
    const SpriteWad before = wad;
    // Its own id clashes like any other.
    for (const auto& [choice, typed, text] :
         {std::tuple{kCustomId, 12u, "12: LARA_REVOLVER_LASER already exist, choose another"},
          std::tuple{kDefault, 0u, "463: DEFAULT_SPRITES already exist, choose another"}}) {
        const objects::EditedObject edited = objects::EditObject(wad, 1, choice, typed);
        EXPECT_EQ(edited.message, text);
        EXPECT_TRUE(objtest::SameDocument(wad, before));
    }
    const objects::EditedObject edited = objects::EditObject(wad, 1, kSky, 0);
    ASSERT_TRUE(edited.ok());
    EXPECT_EQ(edited.previousSlot, 12u);
    EXPECT_EQ(Objects(wad), (std::vector<Obj>{{463, 2, 0}, {460, 3, 2}}));
    EXPECT_TRUE(wad.m_textures == before.m_textures);
    ASSERT_TRUE(objects::EditObject(wad, 0, kCustomId, 70000).ok());
    EXPECT_EQ(wad.m_sequences[0].slotId, 70000u);
}

TEST(DeleteObject, TakesTheRunAndShiftsLaterRuns) {
    // X owns 0..4, Y 5..7, Z 8..9, listed in another order than their runs; E is empty.
    const std::vector<Obj> objs{{3, 2, 8}, {1, 5, 0}, {2, 3, 5}, {4, 0, 10}};
    const struct {
        std::size_t object;
        std::vector<Obj> after;
        std::vector<int> kept;
    } cases[] = {
        {2, {{3, 2, 5}, {1, 5, 0}, {4, 0, 7}}, {0, 1, 2, 3, 4, 8, 9}},
        {0, {{1, 5, 0}, {2, 3, 5}, {4, 0, 8}}, {0, 1, 2, 3, 4, 5, 6, 7}},
        {1, {{3, 2, 3}, {2, 3, 0}, {4, 0, 5}}, {5, 6, 7, 8, 9}},
        {3, {{3, 2, 8}, {1, 5, 0}, {2, 3, 5}}, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.object);
        SpriteWad wad = MakeWad(objs, 10);
        const SpriteWad before = wad;
        const objects::RemovedObject removed = objects::DeleteObject(wad, c.object);
        EXPECT_EQ(Objects(wad), c.after);
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
        EXPECT_EQ(removed.textures.size(),
                  static_cast<std::size_t>(removed.sequence.TextureCount()));
        EXPECT_TRUE(wad.RunsAreValid());
    }
    SpriteWad only = MakeWad({{460, 2, 0}}, 2);
    objects::DeleteObject(only, 0);
    EXPECT_EQ(only.ObjectCount(), 0u);
    EXPECT_EQ(only.TextureCount(), 0u);
}

TEST(ImportTextures, MergesOrPlacesByIdAndShiftsOtherRuns) {
    const struct {
        const char* name;
        std::vector<Obj> objs;
        std::uint32_t slot;
        int count;
        std::size_t position;
        bool created;
        std::vector<Obj> after;
    } cases[] = {
        {"sky goes to the front",
         {{464, 2, 0}, {494, 1, 2}},
         460,
         3,
         0,
         true,
         {{460, 3, 0}, {464, 2, 3}, {494, 1, 5}}},
        {"default behind sky, its textures in front",
         {{460, 1, 0}, {464, 2, 1}},
         463,
         2,
         1,
         true,
         {{460, 1, 2}, {463, 2, 0}, {464, 2, 3}}},
        {"other ids appended", {{460, 1, 0}}, 4464, 2, 1, true, {{460, 1, 0}, {4464, 2, 1}}},
        {"merged behind its own",
         {{464, 2, 1}, {460, 1, 0}},
         460,
         2,
         1,
         false,
         {{464, 2, 3}, {460, 3, 0}}},
        {"no records still creates", {{460, 1, 0}}, 470, 0, 1, true, {{460, 1, 0}, {470, 0, 1}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        int textures = 0;
        for (const Obj& o : c.objs) {
            textures += o.count;
        }
        SpriteWad wad = MakeWad(c.objs, textures);
        std::vector<SpriteTexture> incoming;
        for (int i = 0; i < c.count; ++i) {
            incoming.push_back(fixtures::MakeTexture(5, 3, 100u + static_cast<std::uint32_t>(i)));
        }
        const objects::ImportedObject imported = objects::ImportTextures(wad, c.slot, incoming);
        ASSERT_TRUE(imported.target.ok()) << imported.target.message;
        EXPECT_EQ(imported.target.position, c.position);
        EXPECT_EQ(imported.target.created, c.created);
        EXPECT_EQ(imported.added, static_cast<std::size_t>(c.count));
        EXPECT_EQ(Objects(wad), c.after);
        const ObjectSequence& target = wad.m_sequences[c.position];
        const int own = target.TextureCount() - c.count;
        for (int i = 0; i < c.count; ++i) {
            EXPECT_TRUE(wad.ObjectTexture(c.position, own + i) == incoming[i]) << i;
        }
        EXPECT_TRUE(wad.RunsAreValid());
    }
}

TEST(ImportTextures, LimitsAreCheckedBeforeAnythingChanges) {
    const struct {
        std::vector<Obj> objs;
        int textures;
        std::uint32_t slot;
        std::size_t count;
        std::string message; // empty: accepted
    } cases[] = {
        {{{460, 32760, 0}}, 32760, 460, 7, ""},
        {{{460, 32760, 0}},
         32760,
         460,
         8,
         "Object 460: SKY_GRAPHICS cannot take 8 more textures: it holds 32760, and an object "
         "holds at most 32767."},
        {{},
         0,
         464,
         32768,
         "Object 464: MISC_SPRITES cannot take 32768 more textures: it holds 0, and an object "
         "holds at most 32767."},
        {{{460, 32767, 0}, {463, 32760, 32767}}, 65527, 464, 8, ""},
        {{{460, 32767, 0}, {463, 32760, 32767}},
         65527,
         464,
         9,
         "The sprite wad cannot take 9 more textures: it holds 65527, and a sprite wad holds at "
         "most 65535."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.count);
        SpriteWad wad = MakeWad(c.objs, c.textures);
        const SpriteWad before = wad;
        std::vector<SpriteTexture> incoming(c.count, fixtures::MakeTexture(1, 1, 9));
        const objects::ImportedObject imported = objects::ImportTextures(wad, c.slot, incoming);
        EXPECT_EQ(imported.target.message, c.message);
        if (c.message.empty()) {
            EXPECT_EQ(imported.added, c.count);
            EXPECT_EQ(wad.TextureCount(), c.textures + c.count);
        } else {
            EXPECT_EQ(imported.added, 0u);
            EXPECT_TRUE(objtest::SameDocument(wad, before));
        }
    }
}

} // namespace
