// The cost of the undo history, on the edits the editor window makes, driven through the
// core's document and its history as the window drives them.
//
// Time: a wad of three objects (4, 4096 and 4 textures of 64 x 64, the big one in the middle
// so that the run behind it moves too). Deleting the big object alone (edits::DeleteObject,
// its change dropped at once), the same delete as the document records it (the step takes
// over the removed run), then Undo and Redo of that step. The delete alone frees the removed
// pixels; the recorded delete hands them to the step. Every round starts from a fresh copy
// made outside the timing; the best of the rounds is kept for each.
//
// Memory: 100 Replace Texture edits (each replaces one 64 x 64 texture) recorded in the
// document's history, measured as the growth of the heap in use while the document stays the
// same size.
#include "BenchCheck.h"
#include "edits/Document.h"
#include "support/Fixtures.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <malloc.h>

namespace {

constexpr int kSide = 64;
constexpr int kBigObject = 4096;
constexpr int kRounds = 5;
constexpr int kHistorySteps = 100;

double Seconds(const std::function<void()>& run) {
    const auto start = std::chrono::steady_clock::now();
    run();
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    return took.count();
}

SpriteWad MakeWad() {
    SpriteWad wad;
    const std::uint32_t slots[] = {460, 464, 470};
    const int counts[] = {4, kBigObject, 4};
    std::uint32_t seed = 1;
    for (int k = 0; k < 3; ++k) {
        const std::optional<std::size_t> at = wad.AddObject(slots[k]);
        Check(at.has_value(), "cannot add an object");
        for (int i = 0; i < counts[k]; ++i) {
            Check(wad.AddTexture(*at, fixtures::MakeTexture(kSide, kSide, seed++)),
                  "cannot add a texture");
        }
    }
    return wad;
}

std::size_t HeapInUse() {
    return mallinfo2().uordblks;
}

} // namespace

int main() {
    const SpriteWad original = MakeWad();
    const std::size_t big = *original.FindObject(464);
    // The window shows its selection again after an undo; the bench shows nothing.
    Document<int> document([] { return 0; });
    double bareDelete = 1e30;
    double recordedDelete = 1e30;
    double undo = 1e30;
    double redo = 1e30;
    for (int round = 0; round < kRounds; ++round) {
        SpriteWad bare = original;
        bareDelete = std::min(bareDelete,
                              Seconds([&] { static_cast<void>(edits::DeleteObject(bare, big)); }));

        document.Replace(original);
        recordedDelete =
            std::min(recordedDelete, Seconds([&] {
                         Check(document.Apply("Delete Object", edits::DeleteObject, big).ok(),
                               "the delete was refused");
                     }));
        Check(document.Wad().TextureCount() == 8, "the delete left the wrong textures");
        undo = std::min(undo, Seconds([&] { document.Undo(); }));
        Check(document.Wad().m_sequences == original.m_sequences &&
                  document.Wad().TextureCount() == 8 + kBigObject,
              "undo did not bring the object back");
        redo = std::min(redo, Seconds([&] { document.Redo(); }));
        Check(document.Wad().TextureCount() == 8, "redo did not delete again");
    }
    std::printf("delete an object of %d textures of %dx%d (best of %d):\n", kBigObject, kSide,
                kSide, kRounds);
    std::printf("  DeleteObject alone        %9.3f ms\n", bareDelete * 1e3);
    std::printf("  delete as recorded        %9.3f ms\n", recordedDelete * 1e3);
    std::printf("  undo                      %9.3f ms  (%.2fx the delete alone)\n", undo * 1e3,
                undo / bareDelete);
    std::printf("  redo                      %9.3f ms  (%.2fx the delete alone)\n", redo * 1e3,
                redo / bareDelete);

    document.Replace(original);
    const std::size_t before = HeapInUse();
    for (int step = 0; step < kHistorySteps; ++step) {
        const int line = step * 37 % kBigObject;
        Check(document
                  .Apply("Replace Texture", edits::ReplaceTexture, big, line,
                         fixtures::MakeTexture(kSide, kSide, 100000u + step))
                  .ok(),
              "a replace was refused");
    }
    Check(document.UndoAction() == "Replace Texture", "the history holds no step");
    const std::size_t grown = HeapInUse() - before;
    std::printf("history of %d single-texture edits of %dx%d: %.3f MB above the document "
                "(one texture is %.3f MB)\n",
                kHistorySteps, kSide, kSide, static_cast<double>(grown) / (1024.0 * 1024.0),
                kSide * kSide * 3 / (1024.0 * 1024.0));
    return 0;
}
