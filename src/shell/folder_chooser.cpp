#include "shell/folder_chooser.h"

#include <QDir>
#include <QEventLoop>
#include <QFileDialog>

#include "shell/stop_signal.h"

namespace tamberlo {

QString without_trailing_separator(QString folder) {
  folder = QDir::toNativeSeparators(folder);
  while (folder.size() > 1 && folder.endsWith(QDir::separator())) folder.chop(1);
  return folder;
}

QString choose_folder(const QString& title, const QString& initial_folder, StopSignal* stop) {
  if (stop != nullptr && stop->raised()) return {};
  // Not exec(): that would make the chooser modal and freeze the main window behind it.
  QFileDialog dialog(nullptr, title, initial_folder);
  dialog.setFileMode(QFileDialog::Directory);
  dialog.setOption(QFileDialog::ShowDirsOnly, true);
  dialog.setWindowModality(Qt::NonModal);
  dialog.setAttribute(Qt::WA_QuitOnClose, false);

  bool finished = false;
  QEventLoop loop;
  QObject::connect(&dialog, &QDialog::finished, &loop, [&finished, &loop] {
    finished = true;
    loop.quit();
  });
  // A window that closes takes its chooser along.
  if (stop != nullptr) QObject::connect(stop, &StopSignal::stopping, &dialog, &QDialog::reject);
  dialog.show();
  if (!finished) loop.exec();

  if (dialog.result() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return without_trailing_separator(dialog.selectedFiles().constFirst()).trimmed();
}

}  // namespace tamberlo
