// Every edit of the core: what it does, that its change undoes and redoes it exactly, and that
// a refusal leaves the wad as it was.
#include "edits/Edits.h"
#include "support/Fixtures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <sstream>
#include <string>

namespace {

// Textures two pixels high; MakeWad's texture i is (i % 64) + 1 wide, the new ones 100 and up.
SpriteTexture Texture(int width, std::uint32_t seed) {
    return fixtures::MakeTexture(width, 2, seed);
}

std::vector<SpriteTexture> NewTextures(std::size_t count) {
    std::vector<SpriteTexture> textures;
    for (int i = 0; i < static_cast<int>(count); ++i) {
        textures.push_back(Texture(100 + i, 1000u + static_cast<std::uint32_t>(i)));
    }
    return textures;
}

// A wad of objects written "slot:count@first ..." over as many textures as the runs hold.
SpriteWad MakeWad(const std::string& objects) {
    SpriteWad wad;
    std::istringstream in(objects);
    std::uint32_t slot = 0;
    int count = 0, held = 0;
    std::uint16_t first = 0;
    char sign = 0;
    while (in >> slot >> sign >> count >> sign >> first) {
        wad.m_sequences.push_back({slot, 0, first});
        wad.m_sequences.back().SetTextureCount(count);
        held += count;
    }
    for (int i = 0; i < held; ++i) {
        wad.m_textures.push_back(Texture(1 + i % 64, static_cast<std::uint32_t>(i)));
    }
    return wad;
}

// The objects as "slot:textures@first", each texture by its width ("WxH" when not 2 high);
// a wad of more than 64 textures gives each object's count instead. Then the edit's object
// and lines, and whether it stopped early.
std::string Describe(const SpriteWad& wad, const edits::Edit& edit) {
    std::string out;
    for (std::size_t k = 0; k < wad.ObjectCount(); ++k) {
        const ObjectSequence& s = wad.m_sequences[k];
        out += std::to_string(s.slotId) + ":";
        for (int line = 0; line < s.TextureCount() && wad.TextureCount() <= 64; ++line) {
            const SpriteTexture& t = wad.ObjectTexture(k, line);
            out += (line ? "," : "") + std::to_string(t.GetWidth()) +
                   (t.GetHeight() == 2 ? "" : "x" + std::to_string(t.GetHeight()));
        }
        if (wad.TextureCount() > 64) {
            out += std::to_string(s.TextureCount());
        }
        out += "@" + std::to_string(s.firstTexture) + " ";
    }
    return out + "#" + std::to_string(edit.object) + " " + std::to_string(edit.firstLine) + ".." +
           std::to_string(edit.lastLine) + (edit.stopped ? "" : " stopped");
}

// The edit's change takes the wad back to `before` and forward again.
void ExpectUndoAndRedo(SpriteWad& wad, const SpriteWad& before, edits::Edit& edit) {
    const SpriteWad after = wad;
    edit.change.Swap(wad);
    EXPECT_TRUE(wad == before) << "undo";
    edit.change.Swap(wad);
    EXPECT_TRUE(wad == after) << "redo";
}

using EditFn = std::function<edits::EditResult(SpriteWad&)>;

struct Case {
    const char* before;
    EditFn edit;
    std::string after; // Describe's text, or the refusal
};

} // namespace

TEST(Edits, EachDoesItsEditAndItsChangeUndoesAndRedoesItOrItIsRefusedChangingNothing) {
    using edits::ObjectPlacement;
    const std::string fullWad = "463:32768@0 464:32768@32768";
    const edits::ResizeRequest keep{64, 64, true, ResizeFilter::Stretch};
    const edits::ResizeRequest box{20, 10, false, ResizeFilter::Bilinear};
    const auto add = [](std::uint32_t slot, ObjectPlacement placement) {
        return [=](SpriteWad& w) { return edits::AddObject(w, slot, placement); };
    };
    const auto toSlot = [](std::uint32_t slot, std::size_t count) {
        return [=](SpriteWad& w) { return edits::AddTexturesToSlot(w, slot, NewTextures(count)); };
    };
    const auto append = [](std::size_t object, std::size_t count) {
        return [=](SpriteWad& w) { return edits::AddTextures(w, object, NewTextures(count)); };
    };
    const auto resize = [](int first, int last, edits::ResizeRequest request) {
        return [=](SpriteWad& w) { return edits::ResizeTextures(w, 0, first, last, request); };
    };
    const auto move = [](int first, int last, int to) {
        return [=](SpriteWad& w) { return edits::MoveTextures(w, 1, first, last, to); };
    };
    // clang-format off
    const Case cases[] = {
        // Special objects go to the front and start at texture 0; others to the end.
        {"", add(463, ObjectPlacement::BySlot), "463:@0 #0 0..-1"},
        {"463:2@0", add(460, ObjectPlacement::BySlot), "460:@0 463:1,2@0 #0 0..-1"},
        {"460:1@0 464:1@1", add(463, ObjectPlacement::BySlot), "460:1@0 463:@0 464:2@1 #1 0..-1"},
        {"463:3@0", add(460, ObjectPlacement::AtEnd), "463:1,2,3@0 460:@3 #1 0..-1"},
        {"600:0@0", add(600, ObjectPlacement::AtEnd), "600: UNKNOWN_SPRITES already exist, choose another"},
        {fullWad.c_str(), add(5, ObjectPlacement::AtEnd), "No object can be added: a new object would start at texture 65536, past the 65535 a sprite wad can address."},
        {fullWad.c_str(), add(460, ObjectPlacement::BySlot), "460:0@0 463:32768@0 464:32768@32768 #0 0..-1"},
        {"463:32768@0 464:32767@32768", add(470, ObjectPlacement::BySlot), "463:32768@0 464:32767@32768 470:0@65535 #2 0..-1"},
        // Another slot in place; any slot in use is refused, the object's own included.
        {"1:2@0 464:1@2", [](SpriteWad& w) { return edits::EditObject(w, 0, 70000); }, "70000:1,2@0 464:3@2 #0 0..-1"},
        {"1:2@0 464:1@2", [](SpriteWad& w) { return edits::EditObject(w, 0, 464); }, "464: MISC_SPRITES already exist, choose another"},
        {"1:2@0 464:1@2", [](SpriteWad& w) { return edits::EditObject(w, 0, 1); }, "1: PISTOLS_ANIM already exist, choose another"},
        // Runs listed in another order than they lie; later runs move down.
        {"3:2@8 1:5@0 2:3@5 4:0@10", [](SpriteWad& w) { return edits::DeleteObject(w, 2); }, "3:9,10@5 1:1,2,3,4,5@0 4:@7 #2 0..-1"},
        {"3:2@8 1:5@0 2:3@5 4:0@10", [](SpriteWad& w) { return edits::DeleteObject(w, 1); }, "3:9,10@3 2:6,7,8@0 4:@5 #1 0..-1"},
        // An empty object inside the deleted run starts where the run did.
        {"463:5@0 494:0@2", [](SpriteWad& w) { return edits::DeleteObject(w, 0); }, "494:@0 #0 0..-1"},
        // Appending keeps what fits and says why it stopped; nothing fitting is refused.
        {"460:1@0 463:1@1", append(0, 2), "460:1,100,101@0 463:2@3 #0 1..2"},
        {"460:32766@0", append(0, 2), "460:32767@0 #0 32766..32766 stopped"},
        {"460:32767@0", append(0, 1), "No more textures fit: an object holds at most 32767 textures and a sprite wad at most 65535."},
        {"460:32767@0 463:32767@32767 464:0@65534", append(2, 2), "460:32767@0 463:32767@32767 464:1@65534 #2 0..0 stopped"},
        // An empty object starting inside another run gets its first texture behind that run.
        {"463:5@0 494:0@2", append(1, 1), "463:1,2,3,4,5@0 494:100@5 #1 0..0"},
        // To a slot: all or nothing, a missing object placed by its slot.
        {"464:2@0 494:1@2", toSlot(460, 3), "460:100,101,102@0 464:1,2@3 494:3@5 #0 0..2"},
        {"460:1@0 464:2@1", toSlot(463, 2), "460:1@2 463:100,101@0 464:2,3@3 #1 0..1"},
        {"464:2@1 460:1@0", toSlot(460, 2), "464:2,3@3 460:1,100,101@0 #1 1..2"},
        {"460:32760@0", toSlot(460, 7), "460:32767@0 #0 32760..32766"},
        {"460:32760@0", toSlot(460, 8), "Object 460: SKY_GRAPHICS cannot take 8 more textures: it holds 32760, and an object holds at most 32767."},
        {"460:32767@0 463:32760@32767", toSlot(464, 8), "460:32767@0 463:32760@32767 464:8@65527 #2 0..7"},
        {"460:32767@0 463:32760@32767", toSlot(464, 9), "The sprite wad cannot take 9 more textures: it holds 65527, and a sprite wad holds at most 65535."},
        // Replace and delete one line, and nothing outside the object.
        {"460:2@0 463:3@2", [](SpriteWad& w) { return edits::ReplaceTexture(w, 1, 2, Texture(100, 1)); }, "460:1,2@0 463:3,4,100@2 #1 2..2"},
        {"460:2@0 463:3@2", [](SpriteWad& w) { return edits::ReplaceTexture(w, 1, 3, Texture(100, 1)); }, "There is no texture 3 to replace."},
        {"460:2@0 463:3@2", [](SpriteWad& w) { return edits::DeleteTexture(w, 0, 0); }, "460:2@0 463:3,4,5@1 #0 0..-1"},
        {"460:2@0 463:3@2", [](SpriteWad& w) { return edits::DeleteTexture(w, 0, 2); }, "There is no texture 2 to delete."},
        // Resizing lines of object 0, whose run starts at texture 2.
        {"460:5@2 463:2@0", resize(0, 2, keep), "460:64x42,64x32,64x25,6,7@2 463:1,2@0 #0 0..2"},
        {"460:5@2 463:2@0", resize(1, 4, box), "460:3,20x10,20x10,20x10,20x10@2 463:1,2@0 #0 1..4"},
        {"460:5@2 463:2@0", resize(3, 1, keep), "460:3,4,5,6,7@2 463:1,2@0 #0 3..1"},
        {"460:5@2 463:2@0", resize(4, 9, keep), "Lines 4 to 9 are not all in the object, which has lines 0 to 4."},
        {"460:0@0", resize(0, 0, keep), "Lines 0 to 0 are not all in the object, which has no textures."},
        // Moving lines of object 1: what is refused (the moves themselves are checked below).
        {"460:2@0 463:4@2", move(2, 1, 0), "The first line 2 comes after the last line 1."},
        {"460:2@0 463:4@2", move(3, 4, 0), "Lines 3 to 4 are not all in the object, which has lines 0 to 3."},
        {"460:2@0 463:4@2", move(1, 2, 3), "Lines 1 to 2 can start only at lines 0 to 2 of the object, not at line 3."},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.after);
        SpriteWad wad = MakeWad(c.before);
        const SpriteWad before = wad;
        edits::EditResult done = c.edit(wad);
        if (!done) {
            EXPECT_EQ(done.message(), c.after);
            EXPECT_TRUE(wad == before);
            continue;
        }
        EXPECT_EQ(Describe(wad, *done), c.after);
        ExpectUndoAndRedo(wad, before, *done);
    }
}

// Every run of a five-texture object moved to every line (and lines outside it), against the
// textures with the run cut out and put back in; the lines the run passes are named as changed.
TEST(Edits, MoveTexturesMatchesAPlainModelForEveryRunAndPlace) {
    const SpriteWad before = MakeWad("464:2@7 463:5@2 460:2@0");
    for (int first = -1; first <= 5; ++first) {
        for (int last = -1; last <= 5; ++last) {
            for (int to = -1; to <= 5; ++to) {
                SCOPED_TRACE(testing::Message() << first << ".." << last << " to " << to);
                SpriteWad wad = before;
                edits::EditResult done = edits::MoveTextures(wad, 1, first, last, to);
                const bool fits =
                    first >= 0 && first <= last && last < 5 && to >= 0 && to + last - first < 5;
                ASSERT_EQ(bool(done), fits);
                if (!fits) {
                    EXPECT_TRUE(wad == before);
                    continue;
                }
                std::vector<SpriteTexture> model = before.m_textures; // the run starts at 2
                const std::vector<SpriteTexture> run(model.begin() + 2 + first,
                                                     model.begin() + 3 + last);
                model.erase(model.begin() + 2 + first, model.begin() + 3 + last);
                model.insert(model.begin() + 2 + to, run.begin(), run.end());
                EXPECT_EQ(std::pair(done->firstLine, done->lastLine),
                          std::pair(std::min(first, to), std::max(last, to + last - first)));
                EXPECT_TRUE(wad.m_textures == model && wad.m_sequences == before.m_sequences);
                ExpectUndoAndRedo(wad, before, *done);
            }
        }
    }
}

TEST(Edits, SuggestedSlotIsTheFirstMissingSpecialObject) {
    const std::pair<const char*, std::uint32_t> cases[] = {
        {"", 463}, {"463:0@0", 460}, {"460:0@0", 463}, {"460:0@0 463:0@0", 494}};
    for (const auto& [objects, slot] : cases) {
        EXPECT_EQ(edits::SuggestedSlot(MakeWad(objects)), slot) << objects;
    }
}
