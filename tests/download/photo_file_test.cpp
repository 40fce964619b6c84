#include "download/photo_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "scratch_folder.h"

namespace tamberlo {
namespace {

using testing::file_bytes;
using testing::files_below;

// Hands out the given suffixes one after another, then keeps repeating the last.
SuffixSource suffixes(std::vector<int> values) {
  auto next = std::make_shared<std::size_t>(0);
  return [values = std::move(values), next] {
    const int value = values[std::min(*next, values.size() - 1)];
    ++*next;
    return value;
  };
}

TEST(PhotoFileName, NumberUnderscoreSuffixJpg) {
  EXPECT_EQ(photo_file_name(5, 1377), "5_1377.jpg");
  EXPECT_EQ(photo_file_name(12, 1), "12_1.jpg");
}

TEST(ClockSuffixSource, StaysWithinOneTo2000) {
  const SuffixSource draw = clock_suffix_source();
  for (int i = 0; i < 500; ++i) {
    const int suffix = draw();
    ASSERT_GE(suffix, 1);
    ASSERT_LE(suffix, 2000);
  }
}

TEST(SavePhoto, WritesTheBytesUnderTheFinalNameAndLeavesNothingElse) {
  testing::ScratchFolder scratch;
  const std::string body("\xFF\xD8\xFF\xE0 picture\0bytes", 19);
  const SavedPhoto saved = save_photo(scratch.path(), 5, body, suffixes({1377}));
  ASSERT_TRUE(saved.saved) << saved.error.message();
  EXPECT_EQ(saved.path, scratch.path() / "5_1377.jpg");
  EXPECT_EQ(file_bytes(saved.path), body);
  EXPECT_EQ(files_below(scratch.path()), std::vector<std::string>{"5_1377.jpg"});
}

TEST(SavePhoto, TheSavedFileHasTheUsualPermissionsNotOwnerOnly) {
  testing::ScratchFolder scratch;
  const mode_t old_mask = ::umask(022);
  const SavedPhoto saved = save_photo(scratch.path(), 1, "x", suffixes({3}));
  ::umask(old_mask);
  ASSERT_TRUE(saved.saved);
  struct stat status {};
  ASSERT_EQ(::stat(saved.path.c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 0777, 0644u);
}

TEST(SavePhoto, AFolderPathWithATrailingSeparatorNamesTheSameFolder) {
  testing::ScratchFolder scratch;
  const SavedPhoto saved = save_photo(scratch.path() / "", 1, "x", suffixes({2}));
  ASSERT_TRUE(saved.saved);
  EXPECT_EQ(files_below(scratch.path()), std::vector<std::string>{"1_2.jpg"});
}

TEST(SavePhoto, ATakenNameDrawsAnotherSuffixAndKeepsTheOldFile) {
  testing::ScratchFolder scratch;
  std::ofstream(scratch.path() / "1_5.jpg") << "earlier run";
  const SavedPhoto saved = save_photo(scratch.path(), 1, "new photo", suffixes({5, 5, 9}));
  ASSERT_TRUE(saved.saved);
  EXPECT_EQ(saved.path, scratch.path() / "1_9.jpg");
  EXPECT_EQ(file_bytes(scratch.path() / "1_5.jpg"), "earlier run");
  EXPECT_EQ(file_bytes(scratch.path() / "1_9.jpg"), "new photo");
  EXPECT_EQ(files_below(scratch.path()), (std::vector<std::string>{"1_5.jpg", "1_9.jpg"}));
}

TEST(SavePhoto, GivesUpWhenEveryDrawIsTakenAndRemovesItsTemporaryFile) {
  testing::ScratchFolder scratch;
  std::ofstream(scratch.path() / "3_7.jpg") << "earlier run";
  const SavedPhoto saved = save_photo(scratch.path(), 3, "new photo", suffixes({7}));
  EXPECT_FALSE(saved.saved);
  EXPECT_EQ(saved.error, std::errc::file_exists);
  EXPECT_EQ(files_below(scratch.path()), std::vector<std::string>{"3_7.jpg"});
  EXPECT_EQ(file_bytes(scratch.path() / "3_7.jpg"), "earlier run");
}

TEST(SavePhoto, AMissingFolderGivesTheSystemsReason) {
  testing::ScratchFolder scratch;
  const SavedPhoto saved = save_photo(scratch.path() / "missing", 1, "x", suffixes({1}));
  EXPECT_FALSE(saved.saved);
  EXPECT_EQ(saved.error, std::errc::no_such_file_or_directory);
  EXPECT_EQ(saved.path, scratch.path() / "missing" / "1_1.jpg");
  EXPECT_TRUE(files_below(scratch.path()).empty());
}

TEST(StagedPhoto, StaysOutOfSightUntilPlacedAndLeavesNothingWhenDropped) {
  testing::ScratchFolder scratch;
  {
    StagedPhoto staged = stage_photo(scratch.path(), "photo bytes");
    const std::vector<std::string> while_staged = files_below(scratch.path());
    ASSERT_EQ(while_staged.size(), 1u);
    EXPECT_EQ(while_staged.front().find(".jpg"), std::string::npos) << while_staged.front();
  }
  EXPECT_TRUE(files_below(scratch.path()).empty());

  const SavedPhoto saved = place_photo(stage_photo(scratch.path(), "photo bytes"), 4, suffixes({8}));
  ASSERT_TRUE(saved.saved) << saved.error.message();
  EXPECT_EQ(files_below(scratch.path()), std::vector<std::string>{"4_8.jpg"});
  EXPECT_EQ(file_bytes(scratch.path() / "4_8.jpg"), "photo bytes");
}

}  // namespace
}  // namespace tamberlo
