// The queue between the split's worker and the window, on its own.
#include "app/PieceQueue.h"

#include <QTest>
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

// The worker runs ahead while the pieces not taken hold less than the bound (one piece always
// goes in), then waits for them to be taken; closing refuses the waiting piece, and what went
// in before is still taken, in order.
TEST(PieceQueue, WorkerWaitsOnlyAtTheBound) {
    const struct {
        int side;
        std::size_t maxBytes;
        int ahead;
    } cases[] = {{4, 100, 3}, {4, 96, 2}, {8, 100, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.maxBytes / c.side);
        const auto piece = [&c](int mark) {
            BTCImageData image;
            image.Create(c.side, c.side);
            image.Fill(0, 0, c.side, c.side, static_cast<std::uint32_t>(mark));
            return image;
        };
        PieceQueue queue(c.maxBytes);
        std::atomic<int> pushed{0};
        std::thread worker([&] {
            while (queue.Push(piece(pushed))) {
                ++pushed;
            }
        });
        const auto waitsAt = [&](int count) {
            EXPECT_TRUE(QTest::qWaitFor([&] { return pushed >= count; }, 5000));
            QTest::qWait(30);
            EXPECT_EQ(pushed, count);
        };
        waitsAt(c.ahead);
        std::vector<BTCImageData> taken = queue.TakeAll();
        waitsAt(2 * c.ahead);
        queue.Close();
        worker.join();
        std::ranges::move(queue.TakeAll(), std::back_inserter(taken));
        ASSERT_EQ(taken.size(), static_cast<std::size_t>(2 * c.ahead));
        for (int mark = 0; mark < 2 * c.ahead; ++mark) {
            EXPECT_EQ(taken[mark], piece(mark)) << mark;
        }
    }
}
