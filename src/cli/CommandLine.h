#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

// A command's words after its name, split into operands and "--name" options.
struct ParsedArgs {
    std::vector<std::string> operands;
    std::map<std::string, std::string> values;
    std::set<std::string> flags;
};

// Options in `valueOptions` take the next word as their value; those in `flagOptions` stand
// alone. An unknown option, a missing value or an option given twice gives nothing and says
// why in `problem`.
std::optional<ParsedArgs> SplitArguments(const std::vector<std::string>& args,
                                         const std::set<std::string>& valueOptions,
                                         const std::set<std::string>& flagOptions,
                                         std::string& problem);

// "WxH" with both sides 1 to 256.
std::optional<std::pair<int, int>> ParseSpriteSize(const std::string& text);
