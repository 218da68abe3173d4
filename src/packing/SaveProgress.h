#pragma once

#include <cstdint>
#include <string>

// The save job's progress line and its estimate of the time left. All of the arithmetic is
// unsigned 32-bit, as the tick count is: a tick count that wraps around still gives the right
// elapsed time.

// Milliseconds of a monotonic clock, wrapping around every 49.7 days.
std::uint32_t TickCount();

// "h:mm:ss" for a number of seconds; the hours are not padded and not limited to 24.
std::string FormatDuration(std::uint32_t seconds);

// Whole percent of textures done before texture `index` (from 0) of `total` (> 0): the
// fraction is taken first, then scaled, then truncated.
std::uint32_t ProgressPercent(std::uint32_t index, std::uint32_t total);

// Seconds left, from the whole seconds since `startTick` scaled by total / index (index 0
// counts as 1), less the seconds already gone. A product beyond 32 bits wraps around.
std::uint32_t RemainingSeconds(std::uint32_t index, std::uint32_t total, std::uint32_t startTick,
                               std::uint32_t nowTick);

// "Processed %d of %d Textures (%d%%) - ETR: %s" after texture `index` of `total`.
std::string FormatProgressLine(std::uint32_t index, std::uint32_t total, std::uint32_t startTick,
                               std::uint32_t nowTick);
