#include "shell/update_check.h"

#include <gtest/gtest.h>

#include <ostream>

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <memory>

#include "http/http_settings.h"
#include "sample-service/sample_service.h"
#include "shell/main_window.h"
#include "shell/window_test_support.h"

namespace tamberlo::test {
namespace {

struct UpdateCase {
  const char* newest;
  const char* newest_shown;
  const char* result_shown;  // what 标签_banbenjieguo shows after the check
  bool message;
};

const char* kKept = "(earlier text)";
const char* kNewer = "有新版，联系客服获取最新版或打开作者主页去下载";

void PrintTo(const UpdateCase& c, std::ostream* out) { *out << "newest " << c.newest; }

class UpdateCheckTest : public ::testing::TestWithParam<UpdateCase> {
 protected:
  static void SetUpTestSuite() {
    window = std::make_unique<MainWindow>(window_options());
    window->show();
    window->run_startup_sequence();
  }
  static void TearDownTestSuite() {
    window.reset();
    set_default_proxy("");
  }
  static std::unique_ptr<MainWindow> window;
};

std::unique_ptr<MainWindow> UpdateCheckTest::window;

TEST_P(UpdateCheckTest, ShowsTheNewestVersionAndItsVerdict) {
  const UpdateCase& expected = GetParam();
  sample::Fixture fixture = sample::Fixture::demo();
  fixture.newest_version = expected.newest;
  sample::SampleService service(fixture);
  service.start();
  set_default_proxy(service.proxy_url());
  RecordedMessages messages(*window);
  auto* result = window->control_as<QLabel>("标签_banbenjieguo");
  result->setText(QString::fromUtf8(kKept));

  QTest::mouseClick(window->control_as<QPushButton>("按钮_checknew"), Qt::LeftButton);

  EXPECT_EQ(window->control_as<QLabel>("标签_zxbanben")->text(),
            QString::fromUtf8(expected.newest_shown));
  EXPECT_EQ(result->text(), QString::fromUtf8(expected.result_shown));
  EXPECT_EQ(messages.texts(),
            expected.message
                ? QStringList{QString::fromUtf8("有新版本，联系客服索取，点击作者主页去下载")}
                : QStringList{});
  const auto requests = service.received();
  ASSERT_FALSE(requests.empty());
  EXPECT_EQ(requests.back().host, "www.tamberlo.example");
  EXPECT_EQ(requests.back().path, "/download/softzuixinv/index.html");
}

INSTANTIATE_TEST_SUITE_P(
    Versions, UpdateCheckTest,
    ::testing::Values(UpdateCase{"2.0", "2.0", "无需更新", false},
                      UpdateCase{"3.0", "3.0", kNewer, true}, UpdateCase{"10", "10", kNewer, true},
                      // Only whole numbers count: 2.1 is not announced to a 2.0 program.
                      UpdateCase{"2.1", "2.1", kKept, false},
                      UpdateCase{"1.9", "1.9", kKept, false}));

TEST(UpdateCheckOffline, AnUnreachablePageEmptiesTheNewestVersionOnly) {
  MainWindow window(window_options());
  window.run_startup_sequence();
  // Nothing listens on the discard port of the loopback address.
  set_default_proxy("http://127.0.0.1:9");
  RecordedMessages messages(window);
  window.control_as<QLabel>("标签_zxbanben")->setText(QStringLiteral("2.0"));
  window.control_as<QLabel>("标签_banbenjieguo")->setText(QString::fromUtf8("无需更新"));
  window.check_for_update();
  set_default_proxy("");
  EXPECT_EQ(window.control_as<QLabel>("标签_zxbanben")->text(), QString());
  EXPECT_EQ(window.control_as<QLabel>("标签_banbenjieguo")->text(), QString::fromUtf8("无需更新"));
  EXPECT_TRUE(messages.texts().isEmpty());
}

struct PageCase {
  const char* page;
  const char* newest;
  UpdateOutcome outcome;
};

TEST(UpdatePage, MarkersDecideWhatIsRead) {
  const PageCase cases[] = {
      {"<p>#lumarokh@@2.0#lumarokh</p>", "2.0", UpdateOutcome::up_to_date},
      {"#lumarokh@@3.0#lumarokh ... #lumarokh@@9.0#lumarokh", "3.0", UpdateOutcome::newer},
      {"#lumarokh@@3.0 without an end", "", UpdateOutcome::unchanged},
      {"no markers at all", "", UpdateOutcome::unchanged},
      {"#lumarokh@@beta#lumarokh", "beta", UpdateOutcome::unchanged},
      {"#lumarokh@@ 12#lumarokh", " 12", UpdateOutcome::newer},
      {"#LUMAROKH@@3.0#LUMAROKH", "", UpdateOutcome::unchanged},
  };
  for (const PageCase& item : cases) {
    SCOPED_TRACE(item.page);
    const UpdateVerdict verdict = judge_update_page(item.page, "2.0", "lumarokh");
    EXPECT_EQ(verdict.newest, item.newest);
    EXPECT_EQ(verdict.outcome, item.outcome);
  }
}

}  // namespace
}  // namespace tamberlo::test
