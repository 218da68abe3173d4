// The queue between the split's worker and the window, on its own.
#include "app/PieceQueue.h"

#include <gtest/gtest.h>

#include <QTest>

#include <atomic>
#include <thread>

namespace {

BTCImageData Piece(int side, int mark) {
    BTCImageData piece;
    piece.Create(side, side);
    piece.Fill(0, 0, side, side, static_cast<std::uint32_t>(mark));
    return piece;
}

// The worker runs ahead while the pieces not taken hold less than the bound (one piece always
// goes in), then waits until they are taken; closing wakes it and refuses its piece, and what
// went in before is still taken, in order.
TEST(PieceQueue, WorkerWaitsOnlyAtTheBound) {
    const struct {
        const char* name;
        int side;
        std::size_t maxBytes;
        int ahead;
    } cases[] = {{"the third piece crosses it", 4, 100, 3},
                 {"two pieces reach it exactly", 4, 96, 2},
                 {"one piece is larger", 8, 100, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PieceQueue queue(c.maxBytes);
        std::atomic<int> pushed{0};
        std::thread worker([&] {
            for (int mark = 0; mark < 10 && queue.Push(Piece(c.side, mark)); ++mark) {
                ++pushed;
            }
        });
        const auto waitsAt = [&](int count) {
            EXPECT_TRUE(QTest::qWaitFor([&] { return pushed.load() >= count; }, 5000));
            QTest::qWait(30);
            EXPECT_EQ(pushed.load(), count);
        };
        waitsAt(c.ahead);
        std::vector<BTCImageData> taken = queue.TakeAll();
        waitsAt(2 * c.ahead);
        queue.Close();
        worker.join();
        EXPECT_EQ(pushed.load(), 2 * c.ahead) << "the waiting piece is refused";
        for (BTCImageData& piece : queue.TakeAll()) {
            taken.push_back(std::move(piece));
        }
        ASSERT_EQ(taken.size(), static_cast<std::size_t>(2 * c.ahead));
        for (int mark = 0; mark < 2 * c.ahead; ++mark) {
            EXPECT_EQ(taken[mark], Piece(c.side, mark)) << mark;
        }
    }
}

} // namespace
