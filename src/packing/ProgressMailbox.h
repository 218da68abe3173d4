#pragma once

#include "document/SpriteWad.h"

#include <atomic>
#include <mutex>
#include <optional>
#include <string>

// Hands what a worker produces (a progress line after every texture, the page it is filling)
// to the window thread, which takes only the latest of each at its own pace. The worker never
// waits for the window: it copies a page only when the window has taken the one before, so a
// fast packer pays for at most one page copy per look the window takes.
class ProgressMailbox {
public:
    // Worker side.
    void PostLine(std::string line);
    // Copies `page` if the window is ready for a new one; returns whether it did.
    bool OfferPage(const TexturePage& page);

    // Window side. The latest line not taken yet, if any.
    std::optional<std::string> TakeLine();
    // Swaps the latest page not taken yet into `page` and asks for the next one; returns false,
    // leaving `page` alone, when there is none.
    bool TakePage(TexturePage& page);

private:
    std::mutex m_mutex;
    std::optional<std::string> m_line;
    TexturePage m_page;
    bool m_pageFresh = false;
    // Touched by the worker only: the copy is made here, outside the lock.
    TexturePage m_spare;
    std::atomic<bool> m_pageWanted{true};
};
