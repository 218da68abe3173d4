// Adding and deleting objects, and where imported textures go.
#include "edits/ObjectOperations.h"
#include "support/Fixtures.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace {

// A wad of objects written "slot:count@first ..." over as many textures as the runs hold;
// texture i is 1 + i % 7 pixels wide and has seed i, so moved or lost textures show.
SpriteWad MakeWad(const std::string& objects) {
    SpriteWad wad;
    std::istringstream in(objects);
    std::uint32_t slot = 0;
    int count = 0, held = 0;
    std::uint16_t first = 0;
    char sign = 0;
    while (in >> slot >> sign >> count >> sign >> first) {
        wad.m_sequences.push_back({});
        wad.m_sequences.back().slotId = slot;
        wad.m_sequences.back().SetTextureCount(count);
        wad.m_sequences.back().firstTexture = first;
        held += count;
    }
    for (int i = 0; i < held; ++i) {
        wad.m_textures.push_back(
            fixtures::MakeTexture(1 + i % 7, 2, static_cast<std::uint32_t>(i)));
    }
    return wad;
}

// The objects in MakeWad's notation.
std::string Layout(const SpriteWad& wad) {
    std::string out;
    for (const ObjectSequence& s : wad.m_sequences) {
        out += (out.empty() ? "" : " ") + std::to_string(s.slotId) + ":" +
               std::to_string(s.TextureCount()) + "@" + std::to_string(s.firstTexture);
    }
    return out;
}

} // namespace

constexpr int kSky = objects::kSkyGraphicsChoice;
constexpr int kDefault = objects::kDefaultSpritesChoice;
constexpr int kCustomId = objects::kCustomObjectIdChoice;

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
        {"463:3@0", kCustomId, 460, 1, "463:3@0 460:0@3"},
        {"600:0@0", kCustomId, 600, 0, "600: UNKNOWN_SPRITES already exist, choose another"},
        // 65536 textures: a new first index would not fit, but special objects start at 0.
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
        EXPECT_EQ(added.ok() ? Layout(wad) : added.message, c.after);
        EXPECT_EQ(added.ok() ? added.position : 0, c.position);
        EXPECT_TRUE(added.ok() ? wad.m_textures == before.m_textures : wad == before);
    }
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
        {1, "3:2@3 2:3@0 4:0@5", {5, 6, 7, 8, 9}},
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
        EXPECT_TRUE(removed.position == c.object &&
                    removed.sequence == before.m_sequences[c.object]);
        const auto first = before.m_textures.begin() + removed.sequence.firstTexture;
        EXPECT_TRUE(std::equal(removed.textures.begin(), removed.textures.end(), first,
                               first + removed.sequence.TextureCount()));
    }
}

// Merged into its object or placed by id, other runs shifting; limits checked first.
TEST(ImportTextures, MergesOrPlacesByIdShiftingOtherRunsWithinTheLimits) {
    const struct {
        const char* before;
        std::uint32_t slot;
        std::size_t count, position;
        std::string after; // or the refusal
    } cases[] = {
        {"464:2@0 494:1@2", 460, 3, 0, "460:3@0 464:2@3 494:1@5"},
        {"460:1@0 464:2@1", 463, 2, 1, "460:1@2 463:2@0 464:2@3"},
        {"464:2@1 460:1@0", 460, 2, 1, "464:2@3 460:3@0"},
        {"460:32760@0", 460, 7, 0, "460:32767@0"},
        {"460:32760@0", 460, 8, 0,
         "Object 460: SKY_GRAPHICS cannot take 8 more textures: it holds 32760, and an object "
         "holds at most 32767."},
        {"460:32767@0 463:32760@32767", 464, 8, 2, "460:32767@0 463:32760@32767 464:8@65527"},
        {"460:32767@0 463:32760@32767", 464, 9, 0,
         "The sprite wad cannot take 9 more textures: it holds 65527, and a sprite wad holds at "
         "most 65535."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.after);
        SpriteWad wad = MakeWad(c.before);
        const SpriteWad before = wad;
        std::vector<SpriteTexture> incoming;
        for (std::size_t i = 0; i < c.count; ++i) {
            incoming.push_back(fixtures::MakeTexture(5, 3, 100u + static_cast<std::uint32_t>(i)));
        }
        const objects::ImportedObject imported = objects::ImportTextures(wad, c.slot, incoming);
        const bool ok = imported.target.ok();
        EXPECT_EQ(ok ? Layout(wad) : imported.target.message, c.after);
        EXPECT_EQ(std::pair(imported.target.position, imported.added),
                  std::pair(c.position, ok ? c.count : 0));
        if (!ok) {
            EXPECT_TRUE(wad == before);
            continue;
        }
        const int own = wad.m_sequences[c.position].TextureCount() - static_cast<int>(c.count);
        for (std::size_t i = 0; i < c.count; i += 3) {
            EXPECT_TRUE(wad.ObjectTexture(c.position, own + static_cast<int>(i)) == incoming[i]);
        }
    }
}

// Edit re-numbers in place and refuses any id in use, the object's own included; the dialogs
// open on the item the objects call for.
TEST(EditObject, RenumbersInPlaceRefusingIdsInUseAndChoicesFollowTheObjects) {
    const struct {
        int choice;
        std::uint32_t typed;
        const char* after; // or the refusal
    } cases[] = {
        {kSky, 460, "460:2@0 464:1@2"},
        {kCustomId, 464, "464: MISC_SPRITES already exist, choose another"},
        {kCustomId, 1, "1: PISTOLS_ANIM already exist, choose another"},
        {kCustomId, 70000, "70000:2@0 464:1@2"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        SpriteWad wad = MakeWad("1:2@0 464:1@2");
        const SpriteWad before = wad;
        const objects::EditedObject edited = objects::EditObject(wad, 0, c.choice, c.typed);
        EXPECT_EQ(edited.ok() ? Layout(wad) : edited.message, c.after);
        EXPECT_TRUE(edited.ok() ? edited.previousSlot == 1 : wad == before);
    }
    const std::pair<const char*, int> preselected[] = {
        {"", kDefault}, {"463:0@0", kSky}, {"460:0@0", kDefault}, {"460:0@0 463:0@0", 4}};
    for (const auto& [objs, choice] : preselected) {
        EXPECT_EQ(objects::PreselectedChoice(MakeWad(objs)), choice) << objs;
    }
    const std::pair<std::uint32_t, int> items[] = {{460, 0}, {463, 1}, {464, 2},
                                                   {470, 3}, {494, 4}, {12, kCustomId}};
    for (const auto& [slot, choice] : items) {
        EXPECT_EQ(objects::ChoiceOfSlot(slot), choice) << slot;
    }
}
