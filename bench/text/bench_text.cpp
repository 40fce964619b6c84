// Timing of the text layer on subjects of the sizes a big owner's album list reaches, and on
// hostile subjects a broken or malicious server could send.

#include <benchmark/benchmark.h>

#include <string>

#include "text/encoding.h"
#include "text/regex_matcher.h"
#include "text/text.h"

namespace tamberlo {
namespace {

const std::string kAlbumListPattern =
    "id:(.*?),name:'(.*?)',s:(.*?),count:(.*?),t:(.*?)',lurl:'(.*?)\\/(.*?)',dmt:(.*?)purl:'(.*?)'";

constexpr std::size_t kMegabyte = 1 << 20;

const char* const kNames[] = {"我的相册", "旅行 2009 夏天", "家人照片",           "默认相册",
                              "毕业纪念", "风景",           "宝宝成长记录（一）", "美食"};

std::string album_record(std::size_t k) {
  const std::string id = std::to_string(215667082 + k);
  return "{id:" + id + ",name:'" + utf8_to_local(kNames[k % 8]) + " " + std::to_string(k) +
         "',s:" + std::to_string(k % 3) + ",count:" + std::to_string(k % 500) +
         ",t:'1262304000000',lurl:'" + std::to_string(k % 20) + "/photo/owner/" + id +
         "/cover.jpg',dmt:1262304000000,purl:'" + (k % 5 == 0 ? "" : "photo/data/" + id + ".js") +
         "'}";
}

// As the service writes it: one script line holding the whole array, or one record per line.
Text album_list(std::size_t size, bool one_per_line) {
  Text list = "var g_a$1d = [";
  for (std::size_t k = 0; list.size() < size; ++k) {
    if (k != 0) list += one_per_line ? ",\n" : ",";
    list += album_record(k);
  }
  return list + "];\n";
}

// Record openings without the closing field: a backtracking engine would retry every "id:".
Text hostile_list(std::size_t size) {
  Text list = "var g_a$1d = [";
  const Text piece =
      "id:1,name:'" + utf8_to_local("相册") + "',s:0,count:5,t:'1',lurl:'a/b',dmt:1,";
  while (list.size() < size) list += piece + "id:,name:'";
  return list;
}

void run_album_list(benchmark::State& state, const Text& subject, std::int64_t expect_matches) {
  for (auto _ : state) {
    RegexMatcher matcher;
    matcher.execute(kAlbumListPattern, subject);
    if (expect_matches >= 0 && matcher.match_count() != expect_matches) {
      state.SkipWithError("unexpected match count");
      break;
    }
    benchmark::DoNotOptimize(matcher.submatch_text(matcher.match_count(), 2));
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(subject.size()));
}

std::int64_t records_in(const Text& subject) {
  std::int64_t count = 0;
  for (int at = find_text(subject, "{id:"); at != -1; at = find_text(subject, "{id:", at + 1)) {
    ++count;
  }
  return count;
}

void BM_AlbumListOneLine(benchmark::State& state) {
  const Text subject = album_list(static_cast<std::size_t>(state.range(0)) * kMegabyte, false);
  run_album_list(state, subject, records_in(subject));
}

void BM_AlbumListPerLine(benchmark::State& state) {
  const Text subject = album_list(static_cast<std::size_t>(state.range(0)) * kMegabyte, true);
  run_album_list(state, subject, records_in(subject));
}

void BM_AlbumListHostile(benchmark::State& state) {
  const Text subject = hostile_list(static_cast<std::size_t>(state.range(0)) * kMegabyte);
  run_album_list(state, subject, 0);
}

void BM_TextBetweenMarkerNearEnd(benchmark::State& state) {
  const std::size_t size = static_cast<std::size_t>(state.range(0)) * kMegabyte;
  Text page;
  const Text filler = utf8_to_local("<div class=\"album\">相册 albumUrl : \"x\" </div>\n");
  while (page.size() < size) page += filler;
  page += "albumUrl : 'http://s.example/list/a.js'</script>";
  for (auto _ : state) {
    benchmark::DoNotOptimize(text_between(page, "albumUrl : '", "'"));
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(page.size()));
}

// The conversion the matcher makes before the engine sees the subject, for comparison.
void BM_LocalToUtf8(benchmark::State& state) {
  const Text subject = album_list(static_cast<std::size_t>(state.range(0)) * kMegabyte, false);
  for (auto _ : state) benchmark::DoNotOptimize(local_to_utf8(subject));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(subject.size()));
}

BENCHMARK(BM_AlbumListOneLine)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AlbumListPerLine)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AlbumListHostile)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TextBetweenMarkerNearEnd)->Arg(10)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LocalToUtf8)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tamberlo

BENCHMARK_MAIN();
