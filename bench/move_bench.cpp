// Moving textures inside one object, as the window records it: a run of 1 000 textures moved
// 5 000 lines towards the back inside an object of 30 000 textures of 16 x 16, through the
// document (edits::MoveTextures recorded as one step), and Undo of that step. Each is set
// against std::rotate of the same span of the document's textures, which is the least any
// reordering has to do: the move against the rotate that moves the run there, the undo against
// the one that moves it back. Best of the rounds for each; fails above 2 times.
#include "BenchCheck.h"
#include "edits/Document.h"
#include "support/Fixtures.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>

namespace {

constexpr int kObjectTextures = 30000;
constexpr int kRun = 1000;
constexpr int kFirst = 10000;
constexpr int kDistance = 5000;
constexpr int kSide = 16;
constexpr int kRounds = 200;

double Seconds(const std::function<void()>& run) {
    const auto start = std::chrono::steady_clock::now();
    run();
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    return took.count();
}

} // namespace

int main() {
    SpriteWad wad;
    Check(wad.AddObject(463).has_value(), "cannot add the object");
    for (int i = 0; i < kObjectTextures; ++i) {
        Check(wad.AddTexture(0, fixtures::MakeTexture(kSide, kSide, static_cast<std::uint32_t>(i))),
              "cannot add a texture");
    }
    std::vector<SpriteTexture> plain = wad.m_textures;
    const SpriteTexture firstMoved = wad.m_textures[kFirst];
    Document<int> document([] { return 0; });
    document.Replace(std::move(wad));

    double rotate = 1e30;
    double rotateBack = 1e30;
    double move = 1e30;
    double undo = 1e30;
    const auto spanBegin = plain.begin() + kFirst;
    const auto spanEnd = spanBegin + kRun + kDistance;
    for (int round = 0; round < kRounds; ++round) {
        rotate =
            std::min(rotate, Seconds([&] { std::rotate(spanBegin, spanBegin + kRun, spanEnd); }));
        rotateBack =
            std::min(rotateBack, Seconds([&] { std::rotate(spanBegin, spanEnd - kRun, spanEnd); }));
        Check(plain[kFirst] == firstMoved, "the rotates did not bring the run back");

        move = std::min(move, Seconds([&] {
                            Check(document
                                      .Apply("Move Texture", edits::MoveTextures, 0, kFirst,
                                             kFirst + kRun - 1, kFirst + kDistance)
                                      .ok(),
                                  "the move was refused");
                        }));
        Check(document.Wad().m_textures[kFirst + kDistance] == firstMoved, "the run did not move");
        undo = std::min(undo, Seconds([&] { Check(document.Undo().has_value(), "no undo"); }));
        Check(document.Wad().m_textures[kFirst] == firstMoved, "undo did not move the run back");
    }
    std::printf("move %d of %d textures of %dx%d by %d lines (best of %d):\n", kRun,
                kObjectTextures, kSide, kSide, kDistance, kRounds);
    std::printf("  std::rotate of the span   %9.3f ms, back again %.3f ms\n", rotate * 1e3,
                rotateBack * 1e3);
    std::printf("  move as recorded          %9.3f ms  (%.2fx the rotate)\n", move * 1e3,
                move / rotate);
    std::printf("  undo                      %9.3f ms  (%.2fx the rotate back)\n", undo * 1e3,
                undo / rotateBack);
    return move <= 2 * rotate && undo <= 2 * rotateBack ? 0 : 1;
}
