#include "Commands.h"

#include <charconv>
#include <limits>

std::optional<long long> ParseWholeNumber(const std::string& text, long long min, long long max) {
    // from_chars would take a leading minus sign; only digits make a whole number here.
    if (text.empty() || text[0] < '0' || text[0] > '9') {
        return std::nullopt;
    }
    long long value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc() || stop != end || value < min || value > max) {
        return std::nullopt;
    }
    return value;
}

std::optional<std::uint32_t> ParseSlot(const std::string& text, std::string* problem) {
    const auto slot = ParseWholeNumber(text, 0, std::numeric_limits<std::uint32_t>::max());
    if (!slot) {
        if (problem != nullptr) {
            *problem = "\"" + text + "\" is not a slot number";
        }
        return std::nullopt;
    }
    return static_cast<std::uint32_t>(*slot);
}
