#include "packing/SaveProgress.h"
#include "packing/ProgressMailbox.h"

#include "support/Fixtures.h"

#include <gtest/gtest.h>

#include <string>

// Whole seconds only; index 0 counts as 1 in the estimate; 32-bit ticks and products wrap.
TEST(SaveProgress, ProgressLine) {
    const struct {
        std::uint32_t index, total, startTick, nowTick;
        const char* line;
    } cases[] = {
        {1, 3, 0, 0, "Processed 1 of 3 Textures (33%) - ETR: 0:00:00"},
        {0, 4, 1000, 11999, "Processed 0 of 4 Textures (0%) - ETR: 0:00:30"},
        {3, 10, 0, 7000, "Processed 3 of 10 Textures (30%) - ETR: 0:00:16"},
        {1, 2, 0xFFFFF830u, 500, "Processed 1 of 2 Textures (50%) - ETR: 0:00:02"},
        {29, 100, 0, 0, "Processed 29 of 100 Textures (28%) - ETR: 0:00:00"},
        {1, 65535, 0, 100000000, "Processed 1 of 65535 Textures (0%) - ETR: 627342:25:04"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FormatProgressLine(c.index, c.total, c.startTick, c.nowTick), c.line);
    }
    EXPECT_EQ(FormatDuration(4294967295u), "1193046:28:15");
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
    EXPECT_TRUE(mailbox.OfferPage(a) && !mailbox.OfferPage(b));
    ASSERT_TRUE(mailbox.TakePage(shown));
    EXPECT_EQ(shown, a) << "only one copy until the window has looked";
    EXPECT_TRUE(!mailbox.TakePage(shown) && mailbox.OfferPage(b));
    ASSERT_TRUE(mailbox.TakePage(shown));
    EXPECT_EQ(shown, b);
}
