#pragma once

#include <QWidget>
#include <functional>

class QLabel;
class QLineEdit;

// "查找功能：": looks up albums in the list by name. One window serves the whole run, so the
// find position survives closing and opening it again.
namespace tamberlo {

class AlbumListView;

class FindWindow final : public QWidget {
  Q_OBJECT

 public:
  using Message = std::function<void(const QString& text)>;
  FindWindow(AlbumListView& list, Message message);

  int find_position() const { return find_position_; }

  void find_first();
  void find_next();
  void find_previous();

 private:
  void show_found(int row);
  std::string keyword() const;

  AlbumListView& list_;
  Message message_;
  QLineEdit* keyword_box_ = nullptr;
  QLabel* row_label_ = nullptr;
  int find_position_ = 0;
};

}  // namespace tamberlo
