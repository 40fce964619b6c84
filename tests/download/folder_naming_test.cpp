#include "download/folder_naming.h"

#include <gtest/gtest.h>

#include <fstream>
#include <ostream>
#include <string>

#include "catalogue/gbk_literal.h"
#include "scratch_folder.h"
#include "text/encoding.h"

namespace tamberlo {
namespace {

struct NameCase {
  const char* album_name_utf8;
  const char* listed_count;
  const char* folder_name_utf8;
};

void PrintTo(const NameCase& c, std::ostream* out) { *out << c.album_name_utf8; }

class AlbumFolderNames : public ::testing::TestWithParam<NameCase> {};

TEST_P(AlbumFolderNames, CleanedNameFollowedByTheListedCount) {
  const NameCase& c = GetParam();
  EXPECT_EQ(local_to_utf8(album_folder_name(gbk(c.album_name_utf8), c.listed_count)),
            c.folder_name_utf8);
}

INSTANTIATE_TEST_SUITE_P(
    Table, AlbumFolderNames,
    ::testing::Values(NameCase{"旅行：北京（春）！", "30", "旅行北京春30"},
                      NameCase{"a.b c?d", "7", "abcd7"},
                      NameCase{"我的 相册：春游", "25", "我的相册春游25"},
                      NameCase{"……", "2", "……2"}, NameCase{"《书》", "1", "《书》1"},
                      NameCase{"全角　空格", "4", "全角　空格4"},
                      NameCase{"say \"hi\"", "3", "say\"hi\"3"},
                      NameCase{"家·人，你好、再见。", "9", "家人你好再见9"},
                      NameCase{":\\/?*<>|：、？。（）·！，. ", "12", "12"},
                      // A listed count from the service must not climb out either.
                      NameCase{"", "..", "_"}, NameCase{"a", "1/../..", "a1...."}));

TEST(CleanFolderName, CleansTheCallersTextAndReturnsIt) {
  Text name = gbk("旅行：北京（春）！");
  const Text returned = clean_folder_name(name);
  EXPECT_EQ(local_to_utf8(name), "旅行北京春");
  EXPECT_EQ(returned, name);
}

TEST(CleanFolderName, NeverCutsADoubleByteCharacter) {
  // The second bytes of these characters are "\" and "|" ; they are not separators.
  Text name =
      "\x81\x5C\x81\x7C"
      "a\\b";
  EXPECT_EQ(clean_folder_name(name),
            "\x81\x5C\x81\x7C"
            "ab");
}

struct OwnerCase {
  const char* what;
  std::string account;
  std::string folder;
};

void PrintTo(const OwnerCase& c, std::ostream* out) { *out << c.what; }

class OwnerFolderNames : public ::testing::TestWithParam<OwnerCase> {};

TEST_P(OwnerFolderNames, StayInsideTheSaveLocation) {
  const OwnerCase& c = GetParam();
  EXPECT_EQ(owner_folder_name(c.account), c.folder) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Table, OwnerFolderNames,
    ::testing::Values(OwnerCase{"an ordinary account", "abc_123", "abc_123"},
                      OwnerCase{"empty", "", "_"}, OwnerCase{"the folder itself", ".", "_"},
                      OwnerCase{"the parent folder", "..", "_"},
                      OwnerCase{"a climbing path", "../../etc", "....etc"},
                      OwnerCase{"an absolute path", "/tmp/x", "tmpx"},
                      OwnerCase{"backslashes", "a\\..\\b", "a..b"},
                      OwnerCase{"control characters", "a\tb\x01\x7F", "ab"},
                      OwnerCase{"dots inside a name stay", "a..b", "a..b"},
                      OwnerCase{"a double-byte character ending in a backslash byte", "\x81\x5C",
                                "\x81\x5C"}));

TEST(NameLength, CutAtACharacterBoundary) {
  const Text two = gbk("中文");  // six bytes once in UTF-8
  EXPECT_EQ(cut_to_utf8_limit(two, 6), two);
  EXPECT_EQ(cut_to_utf8_limit(two, 5), gbk("中"));
  EXPECT_EQ(cut_to_utf8_limit(two, 2), "");
  EXPECT_EQ(cut_to_utf8_limit("a" + two, 4), "a" + gbk("中"));
}

TEST(NameLength, LongAlbumNameIsCutBeforeTheCountIsAppended) {
  Text name = "a";
  for (int i = 0; i < 100; ++i) name += gbk("中");
  const Text folder = album_folder_name(name, "25");
  const std::string utf8 = local_to_utf8(folder);
  EXPECT_LE(utf8.size(), kNameLimitBytes);
  // "a" and 84 whole characters (253 bytes) leave room for the count, an 85th would not.
  EXPECT_EQ(utf8.size(), 1u + 84 * 3 + 2);
  EXPECT_EQ(folder.substr(folder.size() - 2), "25");
  EXPECT_EQ(folder.substr(0, folder.size() - 2), name.substr(0, 1 + 84 * 2));
}

TEST(NameLength, LongOwnerAccountIsCut) {
  const std::string account(300, 'x');
  EXPECT_EQ(owner_folder_name(account), std::string(kNameLimitBytes, 'x'));
}

TEST(NameLength, TheLongestFolderNameCanBeCreated) {
  testing::ScratchFolder scratch;
  Text name;
  for (int i = 0; i < 200; ++i) name += gbk("相册");
  std::filesystem::path folder = scratch.path() / local_path(album_folder_name(name, "1234"));
  EXPECT_TRUE(ensure_folder(folder));
  EXPECT_TRUE(folder_exists(folder));
}

TEST(EnsureFolder, CreatesEveryMissingFolderAndEndsThePathWithASeparator) {
  testing::ScratchFolder scratch;
  std::filesystem::path folder = scratch.path() / local_path(gbk("相册")) / "abc" / "x25";
  std::error_code error;
  EXPECT_TRUE(ensure_folder(folder, error)) << error.message();
  EXPECT_FALSE(folder.has_filename());
  EXPECT_EQ(folder.parent_path(), scratch.path() / local_path(gbk("相册")) / "abc" / "x25");
  EXPECT_TRUE(folder_exists(folder.parent_path()));
  // An existing folder is fine, and a second separator is not added.
  EXPECT_TRUE(ensure_folder(folder, error));
  EXPECT_EQ(folder.parent_path(), scratch.path() / local_path(gbk("相册")) / "abc" / "x25");
}

TEST(EnsureFolder, AFileInTheWayGivesTheSystemsReason) {
  testing::ScratchFolder scratch;
  std::ofstream(scratch.path() / "owner") << "not a folder";
  std::filesystem::path folder = scratch.path() / "owner" / "album1";
  std::error_code error;
  EXPECT_FALSE(ensure_folder(folder, error));
  EXPECT_TRUE(error);
  EXPECT_FALSE(folder_exists(scratch.path() / "owner"));
}

}  // namespace
}  // namespace tamberlo
