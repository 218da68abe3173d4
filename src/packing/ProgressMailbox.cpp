#include "packing/ProgressMailbox.h"

#include <utility>

void ProgressMailbox::PostLine(std::string line) {
    const std::lock_guard lock(m_mutex);
    m_line = std::move(line);
}

bool ProgressMailbox::OfferPage(const TexturePage& page) {
    if (!m_pageWanted.exchange(false)) {
        return false;
    }
    m_spare = page;
    const std::lock_guard lock(m_mutex);
    std::swap(m_spare, m_page);
    m_pageFresh = true;
    return true;
}

std::optional<std::string> ProgressMailbox::TakeLine() {
    const std::lock_guard lock(m_mutex);
    return std::exchange(m_line, std::nullopt);
}

bool ProgressMailbox::TakePage(TexturePage& page) {
    {
        const std::lock_guard lock(m_mutex);
        if (!m_pageFresh) {
            return false;
        }
        std::swap(page, m_page);
        m_pageFresh = false;
    }
    m_pageWanted.store(true);
    return true;
}
