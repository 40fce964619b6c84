#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <functional>

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
  location()->setText(QString::fromUtf8("相册"));
  press("按钮3");
  ASSERT_EQ(opened.size(), 3);
  EXPECT_EQ(opened[0], QUrl::fromLocalFile(QString::fromUtf8("/data/相册 备份")));
  EXPECT_EQ(opened[1], QUrl::fromLocalFile(QStringLiteral("/tmp/tamberlo-program")));
  // Relative to the working folder, as the download reads it.
  EXPECT_EQ(opened[2], QUrl::fromLocalFile(QDir::currentPath() + QString::fromUtf8("/相册")));
}

TEST_F(SaveLocationTest, HelpPageLinksOpenTheMakersPagesAndChangeNothing) {
  QTest::mouseClick(window.control("标签7"), Qt::LeftButton);
  QTest::mouseClick(window.control_as<QPushButton>("按钮2"), Qt::LeftButton);
  EXPECT_EQ(opened,
            (QList<QUrl>{QUrl(QStringLiteral("http://www.tamberlo.example/")),
                         QUrl(QStringLiteral("http://www.tamberlo.example/support.html"))}));
}

// The program's own chooser, worked from a timer while the button's handler waits for it.
class FolderChooserTest : public ::testing::Test {
 protected:
  FolderChooserTest() : window(window_options()) {
    window.set_desktop_opener([this](const QUrl& address) { opened.append(address); });
    window.show();
  }
  static QFileDialog* open_chooser() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      if (auto* dialog = qobject_cast<QFileDialog*>(widget); dialog && dialog->isVisible()) {
        return dialog;
      }
    }
    return nullptr;
  }
  // Presses "选择存放位置" and lets `while_open` work the chooser; false when none opened.
  bool choose(const std::function<void(QFileDialog&)>& while_open) {
    bool seen = false;
    QTimer::singleShot(0, &window, [&] {
      if (QFileDialog* dialog = open_chooser()) {
        seen = true;
        while_open(*dialog);
      }
      if (QFileDialog* left = open_chooser()) left->reject();
    });
    QTest::mouseClick(window.control_as<QPushButton>("按钮_选择位置"), Qt::LeftButton);
    return seen;
  }
  QLineEdit* location() { return window.control_as<QLineEdit>("编辑框_保存位置"); }

  MainWindow window;
  QList<QUrl> opened;
};

TEST_F(FolderChooserTest, LeavesTheMainWindowUsableAndCancellingPutsTheProgramFolderBack) {
  location()->setText(QStringLiteral("/somewhere/else"));
  ASSERT_TRUE(choose([&](QFileDialog& dialog) {
    EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8("选择相册的存放位置"));
    EXPECT_EQ(dialog.directory().absolutePath(), QStringLiteral("/"));
    EXPECT_FALSE(dialog.isModal());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    // The window's other buttons still answer while the chooser is open.
    QTest::mouseClick(window.control_as<QPushButton>("按钮3"), Qt::LeftButton);
    dialog.reject();
  }));
  EXPECT_EQ(opened, QList<QUrl>{QUrl::fromLocalFile(QStringLiteral("/somewhere/else"))});
  EXPECT_EQ(location()->text(), window.program_folder());
}

TEST_F(FolderChooserTest, ConfirmedFolderComesBackWithoutATrailingSeparator) {
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  for (const QString& shown : {folder.path() + QStringLiteral("/"), QStringLiteral("/")}) {
    SCOPED_TRACE(shown.toStdString());
    ASSERT_TRUE(choose([&](QFileDialog& dialog) {
      dialog.setDirectory(shown);
      static_cast<QDialog&>(dialog).accept();  // as the OK button does
    }));
    EXPECT_EQ(location()->text(), shown == QStringLiteral("/") ? shown : folder.path());
  }
}

TEST_F(FolderChooserTest, ClosingTheWindowClosesTheChooser) {
  ASSERT_TRUE(choose([&](QFileDialog&) { window.close(); }));
  EXPECT_EQ(open_chooser(), nullptr);
  EXPECT_EQ(location()->text(), window.program_folder());
}

}  // namespace
}  // namespace tamberlo::test
