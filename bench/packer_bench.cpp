// Measures the page packer against the two yardsticks it is held to:
//  (a) the straightforward scan (every position, every placed rectangle) on a sprite-like set,
//      after checking that both give the same pages and entries: whole packing, and the
//      placement search alone;
//  (b) on a large set of small textures, the bare cost of copying every texture's pixels onto
//      black pages at the positions the packer chose.
#include "packing/PackTextures.h"
#include "packing/PageOccupancy.h"

#include "support/Fixtures.h"
#include "support/ReferencePacker.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Median of `runs` timings of f, in seconds.
template <typename F> double MedianSeconds(int runs, F&& f) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const auto start = Clock::now();
        f();
        times.push_back(Seconds(start));
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

bool Pack(SpriteWad& wad) {
    return PackTextures(wad).ok();
}

// Black pages with every texture drawn where its entry says: the pixel work that any packer
// has to do, whatever its search costs. The pages of the run before are blacked out and
// reused, so that this counts writing pixels only, not getting fresh memory from the system
// (which the packer does pay): a floor that flatters no one.
void DrawAtEntries(const SpriteWad& wad, std::vector<TexturePage>& pages) {
    pages.resize(wad.m_pages.size());
    for (TexturePage& page : pages) {
        page.Create(256, 256);
    }
    for (std::size_t i = 0; i < wad.m_textures.size(); ++i) {
        const SpriteEntry& e = wad.m_entries[i];
        pages[e.page].Combine(wad.m_textures[i], e.x, e.y);
    }
}

// The packer's page search alone (first fit over pages, first free spot on a page), with no
// pixels: the part that replaces the straightforward scan.
std::vector<SpriteEntry> SearchOnly(const std::vector<SpriteTexture>& textures) {
    std::vector<PageOccupancy> pages;
    std::vector<SpriteEntry> entries;
    entries.reserve(textures.size());
    for (const SpriteTexture& texture : textures) {
        const int w = texture.GetWidth();
        const int h = texture.GetHeight();
        for (std::size_t page = 0;; ++page) {
            if (page == pages.size()) {
                pages.emplace_back();
            }
            if (const auto spot = pages[page].FindFree(w, h)) {
                pages[page].Occupy(spot->x, spot->y, w, h);
                entries.push_back(SpriteEntry::At(spot->x, spot->y, static_cast<int>(page), w, h));
                break;
            }
        }
    }
    return entries;
}

int SpriteSetVersusReference() {
    // Sizes as real sprite wads have them: mostly squares and rectangles of the usual sides
    // from 16 to 128, one in six of any size in between.
    std::mt19937 rng(20240601);
    const int sides[] = {16, 24, 32, 32, 48, 64, 64, 96, 128};
    const auto pick = [&] {
        return sides[std::uniform_int_distribution<int>(0, std::size(sides) - 1)(rng)];
    };
    SpriteWad wad;
    for (int i = 0; i < 120; ++i) {
        int w = pick();
        int h = std::uniform_int_distribution<int>(0, 2)(rng) == 0 ? w : pick();
        if (std::uniform_int_distribution<int>(0, 5)(rng) == 0) {
            w = std::uniform_int_distribution<int>(16, 128)(rng);
            h = std::uniform_int_distribution<int>(16, 128)(rng);
        }
        wad.m_textures.push_back(fixtures::MakeTexture(w, h, static_cast<std::uint32_t>(i)));
    }

    fixtures::ReferencePacking reference;
    const double referenceSeconds =
        MedianSeconds(5, [&] { reference = fixtures::ReferencePack(wad.m_textures); });
    std::vector<SpriteEntry> referenceEntries;
    const double referenceSearchSeconds =
        MedianSeconds(5, [&] { referenceEntries = fixtures::ReferencePlacements(wad.m_textures); });

    if (!Pack(wad) || wad.m_entries != reference.entries || wad.m_pages != reference.pages ||
        SearchOnly(wad.m_textures) != referenceEntries || referenceEntries != reference.entries) {
        std::printf("(a) FAILED: the packer and the reference scan disagree\n");
        return 1;
    }
    const double packerSeconds = MedianSeconds(301, [&] { Pack(wad); });
    const double searchSeconds = MedianSeconds(1001, [&] { SearchOnly(wad.m_textures); });
    std::vector<TexturePage> drawn;
    const double drawSeconds = MedianSeconds(301, [&] { DrawAtEntries(wad, drawn); });

    std::printf("(a) 120 sprite-like textures onto %zu pages; packer and reference scan give "
                "identical entries and pages\n",
                wad.m_pages.size());
    std::printf("    whole packing (search, new pages, drawing):\n");
    std::printf("      reference scan, median of 5:      %9.3f ms\n", referenceSeconds * 1e3);
    std::printf("      PackTextures, median of 301:      %9.3f ms  -> %.0f times faster\n",
                packerSeconds * 1e3, referenceSeconds / packerSeconds);
    std::printf("      pages + drawing alone (Combine at the same spots), median of 301: "
                "%.3f ms\n",
                drawSeconds * 1e3);
    std::printf("    placement search alone (no pixels):\n");
    std::printf("      reference scan, median of 5:      %9.3f ms\n", referenceSearchSeconds * 1e3);
    std::printf("      PageOccupancy, median of 1001:    %9.3f ms  -> %.0f times faster\n",
                searchSeconds * 1e3, referenceSearchSeconds / searchSeconds);
    std::printf("    (aim: at least 1000 times faster)\n");
    return 0;
}

int SmallTexturesVersusCopyFloor() {
    std::mt19937 rng(777);
    std::uniform_int_distribution<int> side(1, 64);
    SpriteWad wad;
    std::size_t pixels = 0;
    for (int i = 0; i < 20000; ++i) {
        const int w = side(rng);
        const int h = side(rng);
        pixels += static_cast<std::size_t>(w) * h;
        wad.m_textures.push_back(fixtures::MakeTexture(w, h, static_cast<std::uint32_t>(i)));
    }

    bool ok = true;
    const double packerSeconds = MedianSeconds(7, [&] { ok = Pack(wad) && ok; });
    std::vector<TexturePage> drawn;
    const double copySeconds = MedianSeconds(7, [&] { DrawAtEntries(wad, drawn); });
    if (!ok || drawn != wad.m_pages) {
        std::printf("(b) FAILED: packing did not finish or its pages differ from the copy\n");
        return 1;
    }

    std::printf("(b) 20000 textures, sides 1..64, %zu pixels onto %zu pages\n", pixels,
                wad.m_pages.size());
    std::printf("      PackTextures (search, new pages, drawing), median of 7:      %7.1f ms\n",
                packerSeconds * 1e3);
    std::printf("      floor: new black pages + Combine at the same spots, median of 7: %5.1f ms\n",
                copySeconds * 1e3);
    std::printf("      packer / floor = %.1f (aim: at most 10)\n", packerSeconds / copySeconds);
    return 0;
}

} // namespace

int main() {
    const int a = SpriteSetVersusReference();
    const int b = SmallTexturesVersusCopyFloor();
    return a != 0 || b != 0 ? 1 : 0;
}
