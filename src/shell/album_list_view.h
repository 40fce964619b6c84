#pragma once

#include <QPixmap>
#include <QTreeWidget>

// The album list: one row per album, a check box held as the row's tick (1 ticked, 0 not), the
// cover picture in column 3 and single selection.
namespace tamberlo {

class AlbumListView final : public QTreeWidget {
  Q_OBJECT

 public:
  explicit AlbumListView(QWidget* parent = nullptr);

  int append_row();
  void set_cell(int row, int column, const QString& text);
  QString cell(int row, int column) const;
  void set_tick(int row, int tick);
  // 1 ticked, 0 not ticked, -1 for no such row.
  int tick(int row) const;
  int current_row() const;
  void set_current_row(int row);  // also scrolls it into view
  void set_column_width(int column, int width);
  // A picture that cannot be decoded keeps the cover drawn last, as a canvas would.
  void set_cover(int row, const QByteArray& picture_bytes);
  void clear_rows();

  // "全选" and "反选".
  void tick_all();
  void invert_ticks();

 signals:
  // The user worked the check box of a row (mouse or space bar).
  void tick_changed_by_user(int row);

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void on_item_changed(QTreeWidgetItem* item, int column);

  bool programmatic_ = false;
  QPixmap last_cover_;
};

}  // namespace tamberlo
