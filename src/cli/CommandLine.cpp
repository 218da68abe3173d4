#include "CommandLine.h"
#include "Commands.h"

#include "pixels/PageSide.h"

std::optional<ParsedArgs> SplitArguments(const std::vector<std::string>& args,
                                         const std::set<std::string>& valueOptions,
                                         const std::set<std::string>& flagOptions,
                                         std::string& problem) {
    ParsedArgs parsed;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& word = args[i];
        if (word.rfind("--", 0) != 0) {
            parsed.operands.push_back(word);
            continue;
        }
        const bool seen = parsed.values.count(word) > 0 || parsed.flags.count(word) > 0;
        if (seen) {
            problem = word + " is given twice";
            return std::nullopt;
        }
        if (flagOptions.count(word) > 0) {
            parsed.flags.insert(word);
        } else if (valueOptions.count(word) == 0) {
            problem = "unknown option " + word;
            return std::nullopt;
        } else if (i + 1 == args.size()) {
            problem = word + " needs a value";
            return std::nullopt;
        } else {
            parsed.values[word] = args[++i];
        }
    }
    return parsed;
}

std::optional<std::pair<int, int>> ParseSpriteSize(const std::string& text) {
    const std::size_t cross = text.find('x');
    if (cross == std::string::npos) {
        return std::nullopt;
    }
    const auto width = ParseWholeNumber(text.substr(0, cross), 1, kPageSide);
    const auto height = ParseWholeNumber(text.substr(cross + 1), 1, kPageSide);
    if (!width || !height) {
        return std::nullopt;
    }
    return std::pair{static_cast<int>(*width), static_cast<int>(*height)};
}
