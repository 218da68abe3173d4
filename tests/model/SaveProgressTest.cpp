// The save job's progress line, and the mailbox carrying it and the page from the worker.
#include "model/SaveProgress.h"
#include "model/ProgressMailbox.h"

#include "support/Fixtures.h"

#include <gtest/gtest.h>

#include <string>

TEST(SaveProgress, FormatDuration) {
    const std::pair<std::uint32_t, const char*> cases[] = {
        {59, "0:00:59"}, {3725, "1:02:05"}, {360000, "100:00:00"}, {4294967295u, "1193046:28:15"}};
    for (const auto& [seconds, text] : cases) {
        EXPECT_EQ(FormatDuration(seconds), text) << seconds;
    }
}

// Milliseconds since packing began are cut to whole seconds before the estimate; the count
// shown is the number of textures done before the current one.
TEST(SaveProgress, ProgressLine) {
    const struct {
        std::uint32_t index, total, startTick, nowTick;
        const char* line;
    } cases[] = {
        {1, 3, 0, 0, "Processed 1 of 3 Textures (33%) - ETR: 0:00:00"},
        // index 0 counts as 1: 10 s for the first texture of 4 leaves 30 s.
        {0, 4, 1000, 11999, "Processed 0 of 4 Textures (0%) - ETR: 0:00:30"},
        // 7 s * 10 / 3 = 23 in integers, less 7.
        {3, 10, 0, 7000, "Processed 3 of 10 Textures (30%) - ETR: 0:00:16"},
        // The tick count wrapped around during packing: 2 s have passed.
        {1, 2, 0xFFFFF830u, 500, "Processed 1 of 2 Textures (50%) - ETR: 0:00:02"},
        // The fraction comes first: 29 / 100 * 100 is a hair under 29.
        {29, 100, 0, 0, "Processed 29 of 100 Textures (28%) - ETR: 0:00:00"},
        // 100000 s * 65535 exceeds 32 bits and wraps to 2258532704; less 100000 s.
        {1, 65535, 0, 100000000, "Processed 1 of 65535 Textures (0%) - ETR: 627342:25:04"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FormatProgressLine(c.index, c.total, c.startTick, c.nowTick), c.line)
            << c.index << " of " << c.total;
    }
}

TEST(ProgressMailbox, KeepsOnlyTheLatestLineAndPage) {
    ProgressMailbox mailbox;
    mailbox.PostLine("first");
    mailbox.PostLine("second");
    EXPECT_EQ(mailbox.TakeLine(), "second");
    EXPECT_FALSE(mailbox.TakeLine());

    TexturePage shown;
    const TexturePage a = fixtures::MakeTexture(256, 256, 1);
    const TexturePage b = fixtures::MakeTexture(256, 256, 2);
    // Only one copy until the window has looked: the later page is not copied at all.
    EXPECT_TRUE(mailbox.OfferPage(a));
    EXPECT_FALSE(mailbox.OfferPage(b));
    ASSERT_TRUE(mailbox.TakePage(shown));
    EXPECT_EQ(shown, a);
    EXPECT_FALSE(mailbox.TakePage(shown));
    EXPECT_TRUE(mailbox.OfferPage(b));
    ASSERT_TRUE(mailbox.TakePage(shown));
    EXPECT_EQ(shown, b);
}
