#include "packing/SaveProgress.h"

#include <chrono>
#include <cstdio>

std::uint32_t TickCount() {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<std::uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

std::string FormatDuration(std::uint32_t seconds) {
    const std::uint32_t hours = seconds / 3600;
    const std::uint32_t minutes = seconds / 60 - hours * 60;
    char text[32];
    std::snprintf(text, sizeof text, "%u:%02u:%02u", hours, minutes, seconds % 60);
    return text;
}

std::uint32_t ProgressPercent(std::uint32_t index, std::uint32_t total) {
    return static_cast<std::uint32_t>(static_cast<double>(index) / total * 100.0);
}

std::uint32_t RemainingSeconds(std::uint32_t index, std::uint32_t total, std::uint32_t startTick,
                               std::uint32_t nowTick) {
    const std::uint32_t elapsed = (nowTick - startTick) / 1000;
    const std::uint32_t done = index < 1 ? 1 : index;
    return elapsed * total / done - elapsed;
}

std::string FormatProgressLine(std::uint32_t index, std::uint32_t total, std::uint32_t startTick,
                               std::uint32_t nowTick) {
    char text[128];
    std::snprintf(text, sizeof text, "Processed %u of %u Textures (%u%%) - ETR: %s", index, total,
                  ProgressPercent(index, total),
                  FormatDuration(RemainingSeconds(index, total, startTick, nowTick)).c_str());
    return text;
}
