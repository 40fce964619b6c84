#include "download/download_batch.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "catalogue/gbk_literal.h"
#include "catalogue/window_port.h"
#include "download_service_fixture.h"
#include "text/encoding.h"

namespace tamberlo {
namespace {

using testing::album;
using testing::file_bytes;
using testing::files_below;

class DownloadBatch : public testing::DownloadServiceTest {};

std::vector<std::string> album_calls(const std::string& name, const std::string& folder,
                                     const std::string& listed, const std::vector<int>& percents) {
  std::vector<std::string> calls = {
      "set_text 标签_进度条比例 ",
      "progress_position 0",
      "progress_maximum " + listed,
      "append_log 准备下载相册《" + name + "》\\r\\n\\r\\n",
  };
  for (std::size_t j = 1; j <= percents.size(); ++j) {
    const std::string number = std::to_string(j);
    calls.push_back("progress_position " + number);
    calls.push_back("set_text 标签_进度条比例 " + std::to_string(percents[j - 1]) + "%");
    calls.push_back("set_text 标签_第多少张照片 " + listed + "/" + number);
    calls.push_back("wait 100");
    calls.push_back("process_events");
  }
  calls.push_back("append_log ---完成相册《" + folder + "》下载\\r\\n\\r\\n");
  calls.push_back("set_text 标签_第多少张照片 ");
  return calls;
}

TEST_F(DownloadBatch, TickedAlbumsLandInOwnerAndAlbumFoldersWithEveryStepShown) {
  sample::Owner owner{"spring", {}};
  owner.albums.push_back(album("101", "我的 相册：春游", 3));
  owner.albums.push_back(album("102", "没有勾选", 1));
  auto withheld = album("103", "私密相册", 2);
  withheld.access = sample::Album::Access::login;
  owner.albums.push_back(withheld);
  owner.albums.push_back(album("104", "  旅行·北京（二）  ", 2));
  start({owner});
  fill_list("spring", {1, 0, 1, 1});

  const BatchResult result = run_batch();

  EXPECT_EQ(result.albums, 2);
  EXPECT_EQ(result.photos_saved, 5);
  EXPECT_EQ(result.photos_failed, 0);
  EXPECT_EQ(result.albums_failed, 0);
  EXPECT_TRUE(result.complete());

  std::vector<std::string> expected = {"process_events",
                                       "process_events",
                                       "process_events",
                                       "append_log 当前被选择相册编号:1、3、4、\\r\\n\\r\\n",
                                       "set_text 标签_选择了相册数量 总共需下载[2]个相册",
                                       "set_text 标签_正在下载相册 下载到第[1]个相册"};
  for (const auto& call : album_calls("我的 相册：春游", "我的相册春游3", "3", {33, 66, 100})) {
    expected.push_back(call);
  }
  expected.push_back("set_text 标签_正在下载相册 下载到第[2]个相册");
  for (const auto& call : album_calls("旅行·北京（二）", "旅行北京二2", "2", {50, 100})) {
    expected.push_back(call);
  }
  for (const std::string call : {
           "set_visible 按钮_下载选中 1",
           "set_visible 按钮_暂停线程 0",
           "set_visible 按钮_继续下载 0",
           "append_log -------全部下载完毕--------\\r\\n\\r\\n",
           "append_log 共保存照片5张，失败0张\\r\\n\\r\\n",
           "set_text 标签_第多少张照片 下载完成",
           "message 全部下载完毕\\r\\n共保存照片5张，失败0张",
       }) {
    expected.push_back(call);
  }
  EXPECT_EQ(port.calls(), expected);

  EXPECT_EQ(
      files_below(save.path()),
      (std::vector<std::string>{"spring/我的相册春游3/1_1.jpg", "spring/我的相册春游3/2_2.jpg",
                                "spring/我的相册春游3/3_3.jpg", "spring/旅行北京二2/1_4.jpg",
                                "spring/旅行北京二2/2_5.jpg"}));
  const std::string third = file_bytes(album_folder("spring", "我的相册春游3") / "3_3.jpg");
  EXPECT_EQ(third.substr(0, 2), "\xFF\xD8");
  EXPECT_NE(third.find("img.ph.126.net"), std::string::npos);
  EXPECT_NE(third.find(testing::photo_path_of("101", 3)), std::string::npos);
  // The rows keep their ticks.
  EXPECT_EQ(port.rows()[0].tick, 1);
  EXPECT_EQ(port.rows()[1].tick, 0);
}

TEST_F(DownloadBatch, NothingTickedStillEndsTheBatch) {
  start({sample::Owner{"spring", {album("101", "春游", 2)}}});
  fill_list("spring", {0});

  const BatchResult result = run_batch();

  EXPECT_EQ(result.albums, 0);
  EXPECT_TRUE(result.complete());
  const std::vector<std::string> calls = port.calls();
  ASSERT_GE(calls.size(), 2u);
  EXPECT_EQ(calls[0], "append_log 当前未选择任何相册\\r\\n\\r\\n");
  EXPECT_EQ(calls[1], "set_text 标签_选择了相册数量 总共需下载[0]个相册");
  EXPECT_EQ(port.messages(),
            std::vector<std::string>{gbk("全部下载完毕\r\n共保存照片0张，失败0张")});
  EXPECT_TRUE(photo_requests().empty());
}

TEST_F(DownloadBatch, ASecondRunWritesNewFilesBesideTheFirst) {
  start({sample::Owner{"spring", {album("101", "春游", 3)}}});
  fill_list("spring");
  context.draw_suffix = clock_suffix_source();
  ASSERT_TRUE(run_batch().complete());
  const std::vector<std::string> first = files_below(save.path());
  ASSERT_EQ(first.size(), 3u);
  std::vector<std::string> first_bytes;
  for (const auto& name : first) first_bytes.push_back(file_bytes(save.path() / name));

  ASSERT_TRUE(run_batch().complete());

  const std::vector<std::string> both = files_below(save.path());
  EXPECT_EQ(both.size(), 6u);
  for (int number = 1; number <= 3; ++number) {
    const std::string prefix = "spring/春游3/" + std::to_string(number) + "_";
    EXPECT_EQ(std::count_if(both.begin(), both.end(),
                            [&](const std::string& name) { return name.starts_with(prefix); }),
              2)
        << "photo " << number;
  }
  for (std::size_t i = 0; i < first.size(); ++i) {
    EXPECT_EQ(file_bytes(save.path() / first[i]), first_bytes[i]) << first[i];
  }
}

TEST_F(DownloadBatch, PhotosThatCannotBeWrittenAreLoggedAndCountedInTheClosingMessage) {
  start({sample::Owner{"spring", {album("101", "春游", 2)}}});
  fill_list("spring");
  const std::filesystem::path folder = album_folder("spring", "春游2");
  // The album folder disappears once the download has made it.
  port.on_change([&](const std::string& line) {
    if (line == "set_text 标签_第多少张照片 2/1") std::filesystem::remove_all(folder);
  });

  const BatchResult result = run_batch();

  EXPECT_EQ(result.photos_saved, 0);
  EXPECT_EQ(result.photos_failed, 2);
  EXPECT_FALSE(result.complete());
  const std::string log = local_to_utf8(port.log());
  for (const std::string number : {"1", "2"}) {
    const std::string line =
        "第" + number + "张照片无法保存：" + (folder / (number + "_")).string();
    EXPECT_NE(log.find(line), std::string::npos) << log;
  }
  EXPECT_NE(log.find("No such file or directory\r\n"), std::string::npos) << log;
  EXPECT_NE(log.find("-------全部下载完毕--------\r\n\r\n共保存照片0张，失败2张\r\n\r\n"),
            std::string::npos);
  EXPECT_EQ(port.messages(),
            std::vector<std::string>{gbk("全部下载完毕\r\n共保存照片0张，失败2张")});
}

TEST_F(DownloadBatch, AnAlbumWithoutDataIsNamedInTheClosingMessage) {
  start({sample::Owner{"spring", {album("101", "春游", 2), album("102", "秋游", 1)}}});
  fill_list("spring");
  service->faults().album_data_failures = 10;

  const BatchResult result = run_batch();

  EXPECT_EQ(result.albums, 2);
  EXPECT_EQ(result.albums_failed, 1);
  EXPECT_EQ(result.photos_saved, 1);
  EXPECT_EQ(port.messages(), std::vector<std::string>{
                                 gbk("全部下载完毕\r\n共保存照片1张，失败0张，1个相册未能下载")});
}

TEST(DownloadJobs, JoinedWithTheSeparatorAndSplitIntoFourFields) {
  const AlbumJob job{"25", "s1.ph.126.net/a/b.js", "name", "123"};
  EXPECT_EQ(join_job(job), "25--@@--s1.ph.126.net/a/b.js--@@--name--@@--123");
  const AlbumJob back = split_job(join_job(job));
  EXPECT_EQ(back.listed_count, "25");
  EXPECT_EQ(back.data_address, "s1.ph.126.net/a/b.js");
  EXPECT_EQ(back.album_name, "name");
  EXPECT_EQ(back.album_id, "123");
  // A missing field is empty.
  EXPECT_EQ(split_job("25--@@--addr--@@--name").album_id, "");
}

TEST(DownloadButtons, StartPauseAndResumeShowOneButtonAtATime) {
  testing::RecordingWindowPort port;
  TransferGate gate;
  on_download_start(port);
  EXPECT_FALSE(port.visible(control::kDownloadButton));
  EXPECT_TRUE(port.visible(control::kPauseButton));
  EXPECT_FALSE(port.visible(control::kResumeButton));
  on_pause(port, gate);
  EXPECT_TRUE(gate.paused());
  EXPECT_FALSE(port.visible(control::kPauseButton));
  EXPECT_TRUE(port.visible(control::kResumeButton));
  on_resume(port, gate);
  EXPECT_FALSE(gate.paused());
  EXPECT_TRUE(port.visible(control::kPauseButton));
  EXPECT_FALSE(port.visible(control::kResumeButton));
  EXPECT_FALSE(port.visible(control::kDownloadButton));
}

}  // namespace
}  // namespace tamberlo
