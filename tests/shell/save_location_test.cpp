#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QUrl>

#include "shell/main_window.h"
#include "shell/window_test_support.h"

namespace tamberlo::test {
namespace {

class SaveLocationTest : public ::testing::Test {
 protected:
  SaveLocationTest() : window(window_options()) {
    window.set_folder_chooser([this](const QString& title, const QString& initial) {
      asked_title = title;
      asked_initial = initial;
      return chooser_answer;
    });
    window.set_desktop_opener([this](const QUrl& address) { opened.append(address); });
    window.show();
  }
  QLineEdit* location() { return window.control_as<QLineEdit>("编辑框_保存位置"); }
  void press(const char* name) {
    QTest::mouseClick(window.control_as<QPushButton>(name), Qt::LeftButton);
  }

  MainWindow window;
  QString chooser_answer;
  QString asked_title;
  QString asked_initial;
  QList<QUrl> opened;
};

TEST_F(SaveLocationTest, ChosenFolderGoesIntoTheBoxAndTheChooserStartsAtTheRoot) {
  location()->setText(QStringLiteral("/somewhere/else"));
  chooser_answer = QStringLiteral("/home/user/照片");
  press("按钮_选择位置");
  EXPECT_EQ(asked_title, QString::fromUtf8("选择相册的存放位置"));
  EXPECT_EQ(asked_initial, QStringLiteral("/"));
  EXPECT_EQ(location()->text(), QString::fromUtf8("/home/user/照片"));
}

TEST_F(SaveLocationTest, CancellingPutsTheProgramFolderBack) {
  location()->setText(QStringLiteral("/somewhere/else"));
  chooser_answer.clear();
  press("按钮_选择位置");
  EXPECT_EQ(location()->text(), window.program_folder());
  EXPECT_EQ(window.program_folder(), QStringLiteral("/tmp/tamberlo-program"));
}

TEST_F(SaveLocationTest, OpenFolderOpensTheTypedPathOrTheProgramFolder) {
  location()->setText(QString::fromUtf8("/data/相册 备份"));
  press("按钮3");
  location()->clear();
  press("按钮3");
  ASSERT_EQ(opened.size(), 2);
  EXPECT_EQ(opened[0], QUrl::fromLocalFile(QString::fromUtf8("/data/相册 备份")));
  EXPECT_EQ(opened[1], QUrl::fromLocalFile(QStringLiteral("/tmp/tamberlo-program")));
}

TEST_F(SaveLocationTest, HelpPageLinksOpenTheMakersPagesAndChangeNothing) {
  QTest::mouseClick(window.control("标签7"), Qt::LeftButton);
  QTest::mouseClick(window.control_as<QPushButton>("按钮2"), Qt::LeftButton);
  EXPECT_EQ(opened,
            (QList<QUrl>{QUrl(QStringLiteral("http://www.tamberlo.example/")),
                         QUrl(QStringLiteral("http://www.tamberlo.example/support.html"))}));
}

}  // namespace
}  // namespace tamberlo::test
