#include "files/file_listing.h"

#include <gtest/gtest.h>

#include <dirent.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "core/runtime_array.h"
#include "support/scratch_directory.h"

namespace {

// The entries of the current directory in the order the platform delivers them.
std::vector<std::string> EnumerationOrder() {
  std::vector<std::string> names;
  DIR* directory = opendir(".");
  while (const dirent* entry = readdir(directory)) names.emplace_back(entry->d_name);
  closedir(directory);
  return names;
}

std::vector<std::string> InEnumerationOrder(std::vector<std::string> names) {
  const std::vector<std::string> order = EnumerationOrder();
  std::sort(names.begin(), names.end(), [&](const std::string& a, const std::string& b) {
    return std::find(order.begin(), order.end(), a) < std::find(order.begin(), order.end(), b);
  });
  return names;
}

std::vector<std::string> Elements(const StringArray& list) {
  std::vector<std::string> names;
  for (std::int32_t i = 0; i < list.dim0; ++i) names.emplace_back(ArrayElement(list, i).View());
  return names;
}

class FileListing : public ::testing::Test {
 protected:
  void SetUp() override {
    previous_ = std::filesystem::current_path();
    std::filesystem::current_path(scratch_.Path());
  }
  void TearDown() override { std::filesystem::current_path(previous_); }

  ScratchDirectory scratch_;
  std::filesystem::path previous_;
};

TEST_F(FileListing, DirectoriesComeFirstThenMatchingFiles) {
  std::filesystem::create_directory("levels");
  std::filesystem::create_directory("sounds.png");  // a directory, whatever its name
  for (const char* name : {"a.png", "B.PNG", "c.png", "notes.txt", "png", "d.pngx"}) scratch_.WriteFile(name, "x");

  StringArray list;
  EXPECT_EQ(GetFileList("*.png", list), 3 + 4 * 65536);
  ASSERT_EQ(list.dim0, 7);
  const std::vector<std::string> names = Elements(list);
  const std::vector<std::string> directories(names.begin(), names.begin() + 4);
  const std::vector<std::string> files(names.begin() + 4, names.end());
  EXPECT_EQ(directories, InEnumerationOrder({".", "..", "levels", "sounds.png"}));
  EXPECT_EQ(files, InEnumerationOrder({"a.png", "B.PNG", "c.png"}));
}

TEST_F(FileListing, APatternMatchingNoFileListsOnlyTheDirectories) {
  scratch_.WriteFile("a.png", "x");
  std::filesystem::create_directory("sub");
  for (const char* pattern : {"*.bmp", ""}) {
    StringArray list;
    EXPECT_EQ(GetFileList(pattern, list), 3 * 65536) << pattern;
    EXPECT_EQ(Elements(list), InEnumerationOrder({".", "..", "sub"})) << pattern;
  }
}

TEST_F(FileListing, AnEmptyFolderHoldsItsTwoDirectoryEntries) {
  StringArray list;
  EXPECT_EQ(GetFileList("*", list), 2 * 65536);
  EXPECT_EQ(Elements(list), InEnumerationOrder({".", ".."}));
}

TEST_F(FileListing, AFolderThatCannotBeListedGivesZeroAndAnEmptyArray) {
  std::filesystem::create_directory("gone");
  std::filesystem::current_path("gone");
  std::filesystem::remove(scratch_.Path() + "/gone");
  StringArray list;
  DimStringArray(list, 5);
  EXPECT_EQ(GetFileList("*", list), 0);
  EXPECT_EQ(list.dim0, 0);
  EXPECT_EQ(list.dimensionCount, 0);
}

TEST_F(FileListing, HiddenFilesAndLinksAreListedByWhatTheyAre) {
  scratch_.WriteFile(".hidden.png", "x");
  std::filesystem::create_directory("real");
  std::filesystem::create_directory_symlink("real", "linked");
  std::filesystem::create_symlink("missing.png", "broken.png");
  const DirectoryListing listing = ListDirectory(".", "*.png");
  EXPECT_EQ(listing.directories, InEnumerationOrder({".", "..", "real", "linked"}));
  EXPECT_EQ(listing.files, InEnumerationOrder({".hidden.png", "broken.png"}));
  EXPECT_EQ(ListingCount(listing), 2 + 4 * 65536);
}

TEST_F(FileListing, ARefilledArrayHoldsOnlyTheNewListing) {
  for (int i = 0; i < 70; ++i) scratch_.WriteFile("f" + std::to_string(i) + ".dat", "x");
  StringArray list;
  EXPECT_EQ(GetFileList("*.dat", list), 70 + 2 * 65536);
  EXPECT_EQ(list.dim0, 72);
  EXPECT_EQ(GetFileList("f1?.dat", list), 10 + 2 * 65536);
  EXPECT_EQ(list.dim0, 12);
  const std::vector<std::string> names = Elements(list);
  for (std::size_t i = 2; i < names.size(); ++i) EXPECT_EQ(names[i].substr(0, 2), "f1") << names[i];
}

}  // namespace
