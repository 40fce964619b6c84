#include "text/encoding.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace tamberlo {
namespace {

using namespace std::string_literals;

// UTF-16LE bytes of the given code units, without terminator.
Bytes utf16(std::u16string_view units) {
  Bytes bytes;
  for (char16_t unit : units) {
    bytes.push_back(static_cast<char>(unit & 0xFF));
    bytes.push_back(static_cast<char>(unit >> 8));
  }
  return bytes;
}

struct Utf8Case {
  const char* name;
  std::string utf8;
  std::string gbk;
};

void PrintTo(const Utf8Case& c, std::ostream* out) { *out << c.name; }

class Utf8ToLocal : public ::testing::TestWithParam<Utf8Case> {};

TEST_P(Utf8ToLocal, Converts) { EXPECT_EQ(utf8_to_local(GetParam().utf8), GetParam().gbk); }

INSTANTIATE_TEST_SUITE_P(
    Text, Utf8ToLocal,
    ::testing::Values(
        Utf8Case{"chinese_album_name", "\xE7\x9B\xB8\xE5\x86\x8C 2009", "\xCF\xE0\xB2\xE1 2009"},
        Utf8Case{"placeholder_image", "GIF89a\x80\x00\x01\x02\xE7\x9B\xB8"s, "GIF89a?"},
        Utf8Case{"placeholder_image_ff", "GIF89a\xFF\x00more"s, "GIF89a?"},
        Utf8Case{"placeholder_broken_lead", "GIF89a\xE7\x9B\x00x"s, "GIF89a?"},
        Utf8Case{"leading_zero", "\x00GIF"s, ""}, Utf8Case{"empty", "", ""},
        Utf8Case{"emoji", "a\xF0\x9F\x98\x80z", "a?z"},
        Utf8Case{"replacement_character_itself", "\xEF\xBF\xBD", "?"},
        Utf8Case{"euro_is_0x80", "\xE2\x82\xAC", "\x80"},
        Utf8Case{"middle_dot", "\xC2\xB7", "\xA1\xA4"},
        Utf8Case{"truncated_at_end_one_mark", "a\xE7\x9B", "a?"},
        Utf8Case{"broken_then_ascii_kept",
                 "\xE7\x9B"
                 "a",
                 "?a"},
        Utf8Case{"stray_continuations_each", "\x80\x80", "??"},
        Utf8Case{"overlong_each_byte", "\xC0\xAF", "??"},
        Utf8Case{"encoded_surrogate_each_byte", "\xED\xA0\x80", "???"},
        Utf8Case{"above_unicode_each_byte", "\xF4\x90\x80\x80", "????"},
        Utf8Case{"lead_then_new_lead", "\xE7\xE7\x9B\xB8", "?\xCF\xE0"},
        Utf8Case{"latin_outside_gbk", "\xC3\x80", "?"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LocalToUtf16, AddsTheTerminatingUnit) {
  EXPECT_EQ(local_to_utf16("abc"), "a\0b\0c\0\0\0"s);
  EXPECT_EQ(local_to_utf16(""), "\0\0"s);
  EXPECT_EQ(local_to_utf16("\xD6\xD0"), "\x2D\x4E\0\0"s);  // 中: one code unit
  EXPECT_EQ(local_to_utf16("\x80"), "\xAC\x20\0\0"s);      // euro sign
}

TEST(LocalToUtf16, InvalidGbkBecomesReplacementAndKeepsAscii) {
  EXPECT_EQ(local_to_utf16("\xFF"), "\xFD\xFF\0\0"s);
  // A lead byte followed by an ASCII byte: the ASCII byte survives as itself.
  EXPECT_EQ(local_to_utf16("\x81 "), "\xFD\xFF \0\0\0"s);
  EXPECT_EQ(local_to_utf16("\xD6"), "\xFD\xFF\0\0"s);
  // Trail bytes 0x40-0x7E are part of the character even though they look like ASCII.
  EXPECT_EQ(local_to_utf16("\x95\x5C\x81\x7C"), "\x1E\x66\x85\x4E\0\0"s);
}

struct Utf16Case {
  const char* name;
  Bytes utf16;
  std::string gbk;
};

void PrintTo(const Utf16Case& c, std::ostream* out) { *out << c.name; }

class Utf16ToLocal : public ::testing::TestWithParam<Utf16Case> {};

TEST_P(Utf16ToLocal, Converts) { EXPECT_EQ(utf16_to_local(GetParam().utf16), GetParam().gbk); }

INSTANTIATE_TEST_SUITE_P(
    Text, Utf16ToLocal,
    ::testing::Values(Utf16Case{"without_terminator_whole", utf16(u"ab\u76F8\u518C"),
                                "ab\xCF\xE0\xB2\xE1"},
                      Utf16Case{"terminator_harmless", utf16(u"ab") + "\0\0"s, "ab"},
                      Utf16Case{"inner_zero_cuts", utf16(u"ab") + "\0\0"s + utf16(u"cd"), "ab"},
                      Utf16Case{"odd_last_byte_ignored", utf16(u"ab") + "c", "ab"},
                      Utf16Case{"single_byte_only", "a", ""},
                      Utf16Case{"e_acute_composed", utf16(u"e\u0301"), "\xA8\xA6"},
                      Utf16Case{"u_diaeresis_composed", utf16(u"u\u0308"), "\xA8\xB9"},
                      Utf16Case{"u_umlaut_macron_composed", utf16(u"\u00FC\u0304"), "\xA8\xB5"},
                      Utf16Case{"cyrillic_yo_composed", utf16(u"\u0435\u0308"), "\xA7\xD7"},
                      Utf16Case{"no_gbk_precomposed_keeps_base", utf16(u"A\u0301"), "A?"},
                      Utf16Case{"mark_alone", utf16(u"\u0301x"), "?x"},
                      Utf16Case{"emoji_pair_one_mark", utf16(u"a\U0001F600b"), "a?b"},
                      Utf16Case{"lone_surrogate", utf16(u"a") + "\x00\xD8"s + utf16(u"b"), "a?b"},
                      Utf16Case{"empty", "", ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LocalToUtf8, ConvertsForTheEdgesAndMarksInvalidBytes) {
  EXPECT_EQ(local_to_utf8("\xCF\xE0\xB2\xE1/a"), "\xE7\x9B\xB8\xE5\x86\x8C/a");
  EXPECT_EQ(local_to_utf8("a\xFF"
                          "b"),
            "a\xEF\xBF\xBD"
            "b");
  EXPECT_EQ(local_to_utf8("\x80"), "\xE2\x82\xAC");
  // A lead byte that cannot pair with the ASCII byte after it: the ASCII byte survives.
  EXPECT_EQ(local_to_utf8("\xD6\xD0\x81 x\x81\x7F"), "\xE4\xB8\xAD\xEF\xBF\xBD x\xEF\xBF\xBD\x7F");
  EXPECT_EQ(local_to_utf8("a\xD6"), "a\xEF\xBF\xBD");
}

TEST(RoundTrip, GbkThroughUtf16AndUtf8IsUnchanged) {
  const std::string name = "\xCF\xE0\xB2\xE1\xA1\xA1\xA8\xA6\x80 x";
  EXPECT_EQ(utf16_to_local(local_to_utf16(name)), name);
  EXPECT_EQ(utf8_to_local(local_to_utf8(name)), name);
}

// The window thread and the workers convert at the same time, the first calls included.
TEST(Conversions, GiveTheSameResultsOnSeveralThreadsAtOnce) {
  const std::string utf8 = "\xE7\x9B\xB8\xE5\x86\x8C e\xCC\x81 \xF0\x9F\x98\x80";
  std::vector<std::string> results(4);
  std::vector<std::thread> threads;
  for (std::size_t t = 0; t < results.size(); ++t) {
    threads.emplace_back([&, t] {
      for (int round = 0; round < 200; ++round) {
        results[t] = utf16_to_local(local_to_utf16(utf8_to_local(utf8)));
      }
    });
  }
  for (auto& thread : threads) thread.join();
  for (const std::string& result : results) EXPECT_EQ(result, "\xCF\xE0\xB2\xE1 e? ?");
}

TEST(BodyAsText, TakesBytesUpToTheFirstZero) {
  EXPECT_EQ(body_as_text("GIF89a\xFF\0rest"s), "GIF89a\xFF");
  EXPECT_EQ(body_as_text("\xCF\xE0 plain"), "\xCF\xE0 plain");
  EXPECT_EQ(body_as_text(""), "");
}

}  // namespace
}  // namespace tamberlo
