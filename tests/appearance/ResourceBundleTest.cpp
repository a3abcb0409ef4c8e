#include "appearance/ResourceBundle.h"
#include "TestFiles.h"
#include "appearance/EmbeddedResources.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <stdexcept>

namespace orlix::appearance {
const ResourceBundle& fixtureResources();
}

using namespace orlix::appearance;
namespace fs = std::filesystem;

namespace {

std::vector<std::uint8_t> bytes(std::string_view s) {
    return {s.begin(), s.end()};
}

TEST(ResourceBundle, FindsNamesWithoutRegardToCase) {
    ResourceBundle b =
        ResourceBundle::fromMemory({{"OrlixData", bytes("abc")}, {"LANG1", bytes("x")}});
    ASSERT_TRUE(b.find("ORLIXDATA"));
    EXPECT_EQ(b.find("orlixdata")->size(), 3u);
    EXPECT_EQ(*b.findText("lang1"), "x");
    EXPECT_FALSE(b.find("LANG2"));
    EXPECT_FALSE(b.find("OrlixData.bin")); // names carry no extension
    EXPECT_EQ(b.names(), (std::vector<std::string>{"OrlixData", "LANG1"}));
}

TEST(ResourceBundle, RefusesNamesThatClashAndEmptyNames) {
    EXPECT_THROW(ResourceBundle::fromMemory({{"ORG1", bytes("a")}, {"org1", bytes("b")}}),
                 std::invalid_argument);
    EXPECT_THROW(ResourceBundle::fromMemory({{"", bytes("a")}}), std::invalid_argument);
}

TEST(ResourceBundle, CopiesShareTheOwnedBytes) {
    ResourceBundle copy;
    {
        ResourceBundle original = ResourceBundle::fromMemory({{"Empty", {}}, {"A", bytes("zz")}});
        copy = original;
    }
    EXPECT_EQ(*copy.findText("a"), "zz");
    ASSERT_TRUE(copy.find("EMPTY"));
    EXPECT_TRUE(copy.find("EMPTY")->empty());
}

TEST(GeneratedBundle, HoldsEveryFixtureFileByteForByte) {
    const ResourceBundle& b = fixtureResources();
    const fs::path root = test::sourceDir() / "tests/appearance/fixtures/bundle";
    auto all = b.find("AllBytes");
    ASSERT_TRUE(all);
    const std::vector<std::uint8_t> expected = test::readBytes(root / "AllBytes.bin");
    ASSERT_EQ(expected.size(), 268u);
    EXPECT_TRUE(std::equal(all->begin(), all->end(), expected.begin(), expected.end()));
    ASSERT_TRUE(b.find("empty"));
    EXPECT_TRUE(b.find("empty")->empty());
    // Only the last extension goes; sub-folders do not show in the name.
    EXPECT_EQ(*b.findText("Nested.layout"), "[x]\nA=1\n");
    EXPECT_FALSE(b.find("hidden"));
    EXPECT_FALSE(b.find(".hidden"));
    EXPECT_EQ(b.size(), 3u);
}

// Every file of each edition's folder is in its bundle, named by its stem, with its bytes;
// nothing of the other edition is.
void expectBundleMatchesFolder(const ResourceBundle& bundle, const std::string& folder) {
    const fs::path root = test::sourceDir() / "resources" / folder;
    std::size_t files = 0;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        if (!entry.is_regular_file() || entry.path().filename().string().starts_with(".")) continue;
        ++files;
        const std::string name = entry.path().stem().string();
        auto embedded = bundle.find(name);
        ASSERT_TRUE(embedded) << name;
        const std::vector<std::uint8_t> onDisk = test::readBytes(entry.path());
        EXPECT_TRUE(std::equal(embedded->begin(), embedded->end(), onDisk.begin(), onDisk.end()))
            << entry.path();
    }
    EXPECT_EQ(bundle.size(), files);
}

TEST(GeneratedBundle, EachEditionCarriesItsOwnFolder) {
    expectBundleMatchesFolder(orlixEditorResources(), "orlix-editor");
    expectBundleMatchesFolder(orlixEditorSResources(), "orlix-editor-s");
    EXPECT_TRUE(orlixEditorResources().contains("ORG3"));
    EXPECT_FALSE(orlixEditorSResources().contains("ORG3"));
}

} // namespace
