#pragma once

#include "model/SwdFile.h"
#include "support/Fixtures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace clitest {

// Two pages, four sprites and four objects, one of them empty, listed out of run order.
inline fixtures::SwdBuilder SampleWad() {
    fixtures::SwdBuilder b;
    b.Entry(0, 0, 0, 16, 16)
        .Entry(16, 0, 0, 8, 4)
        .Entry(0, 0, 1, 200, 100)
        .Entry(100, 200, 0, 3, 5)
        .Page(fixtures::MakeTexture(256, 256, 31))
        .Page(fixtures::MakeTexture(256, 256, 32))
        .Sequence(463, -2, 1)
        .Sequence(460, -1, 0)
        .Sequence(494, 0, 4)
        .Sequence(470, -1, 3);
    return b;
}

inline std::string WriteSample(const fixtures::TempDir& dir, const std::string& name,
                               const std::vector<std::uint8_t>& bytes) {
    fixtures::WriteFileBytes(dir / name, bytes);
    return (dir / name).string();
}

// Every path below root, relative and sorted, folders with a trailing slash.
inline std::vector<std::string> Tree(const std::filesystem::path& root) {
    std::vector<std::string> names;
    for (const auto& item : std::filesystem::recursive_directory_iterator(root)) {
        std::string name = std::filesystem::relative(item.path(), root).string();
        if (item.is_directory()) {
            name += "/";
        }
        names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

inline void ExpectSameContent(const SpriteWad& actual, const SpriteWad& expected) {
    EXPECT_EQ(actual.m_sequences, expected.m_sequences);
    ASSERT_EQ(actual.m_textures.size(), expected.m_textures.size());
    for (std::size_t i = 0; i < actual.m_textures.size(); ++i) {
        EXPECT_TRUE(actual.m_textures[i] == expected.m_textures[i]) << "texture " << i;
    }
}

} // namespace clitest
