#include "shell/album_list_view.h"

#include <QHeaderView>
#include <QImage>
#include <QKeyEvent>

#include "catalogue/window_port.h"

namespace tamberlo {
namespace {

constexpr int kCoverSide = 100;

class ProgrammaticChange final {
 public:
  explicit ProgrammaticChange(bool& flag) : flag_(flag), was_(flag) { flag_ = true; }
  ~ProgrammaticChange() { flag_ = was_; }
  ProgrammaticChange(const ProgrammaticChange&) = delete;
  ProgrammaticChange& operator=(const ProgrammaticChange&) = delete;

 private:
  bool& flag_;
  bool was_;
};

}  // namespace

AlbumListView::AlbumListView(QWidget* parent) : QTreeWidget(parent) {
  setColumnCount(8);
  setHeaderLabels({QString::fromUtf8("选择"), QString::fromUtf8("序号"),
                   QString::fromUtf8("相册名称"), QString::fromUtf8("封面"),
                   QString::fromUtf8("数量"), QString::fromUtf8("相册ID"),
                   QString::fromUtf8("相册权限"), QString::fromUtf8("相册密码")});
  const int widths[] = {60, 40, 120, 100, 70, 80, 120, 80};
  for (int column = 0; column < 8; ++column) header()->resizeSection(column, widths[column]);
  header()->setStretchLastSection(false);
  header()->setMinimumSectionSize(0);
  setRootIsDecorated(false);
  setItemsExpandable(false);
  setUniformRowHeights(false);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setAllColumnsShowFocus(true);
  setAlternatingRowColors(true);
  connect(this, &QTreeWidget::itemChanged, this, &AlbumListView::on_item_changed);
}

int AlbumListView::append_row() {
  ProgrammaticChange guard(programmatic_);
  auto* item = new QTreeWidgetItem(this);
  item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
  item->setCheckState(column::kTick, Qt::Unchecked);
  return indexOfTopLevelItem(item);
}

void AlbumListView::set_cell(int row, int column, const QString& text) {
  auto* item = topLevelItem(row);
  if (item == nullptr || column < 0 || column >= columnCount()) return;
  ProgrammaticChange guard(programmatic_);
  item->setText(column, text);
}

QString AlbumListView::cell(int row, int column) const {
  const auto* item = topLevelItem(row);
  return item == nullptr ? QString() : item->text(column);
}

void AlbumListView::set_tick(int row, int tick) {
  auto* item = topLevelItem(row);
  if (item == nullptr) return;
  ProgrammaticChange guard(programmatic_);
  item->setCheckState(column::kTick, tick == 1 ? Qt::Checked : Qt::Unchecked);
}

int AlbumListView::tick(int row) const {
  const auto* item = topLevelItem(row);
  if (item == nullptr) return -1;
  switch (item->checkState(column::kTick)) {
    case Qt::Checked:
      return 1;
    case Qt::Unchecked:
      return 0;
    default:
      return -1;
  }
}

int AlbumListView::current_row() const {
  auto* item = currentItem();
  return item == nullptr ? -1 : indexOfTopLevelItem(item);
}

void AlbumListView::set_current_row(int row) {
  auto* item = topLevelItem(row);
  if (item == nullptr) return;
  scrollToItem(item);
  setCurrentItem(item);
  item->setSelected(true);
}

void AlbumListView::set_column_width(int column, int width) {
  if (column < 0 || column >= columnCount()) return;
  setColumnHidden(column, width <= 0);
  if (width > 0) header()->resizeSection(column, width);
  if (column == column::kCover) setIconSize(width > 0 ? QSize(kCoverSide, kCoverSide) : QSize());
}

void AlbumListView::set_cover(int row, const QByteArray& picture_bytes) {
  QImage picture;
  if (!picture_bytes.isEmpty() && picture.loadFromData(picture_bytes)) {
    last_cover_ = QPixmap::fromImage(
        picture.scaled(kCoverSide, kCoverSide, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
  }
  auto* item = topLevelItem(row);
  if (item == nullptr || last_cover_.isNull()) return;
  ProgrammaticChange guard(programmatic_);
  item->setIcon(column::kCover, QIcon(last_cover_));
}

void AlbumListView::clear_rows() {
  ProgrammaticChange guard(programmatic_);
  clear();
}

void AlbumListView::tick_all() {
  for (int row = 0; row < topLevelItemCount(); ++row) set_tick(row, 1);
}

void AlbumListView::invert_ticks() {
  for (int row = 0; row < topLevelItemCount(); ++row) {
    const int now = tick(row);
    if (now == 1 || now == 0) set_tick(row, 1 - now);
  }
}

void AlbumListView::keyPressEvent(QKeyEvent* event) {
  // The space bar works the check box of the focused row, whichever cell has the focus; left to
  // the view it would only do so while the focus sits in the check box column.
  const bool space = event->key() == Qt::Key_Space || event->key() == Qt::Key_Select;
  QTreeWidgetItem* item = currentItem();
  if (!space || event->modifiers() != Qt::NoModifier || item == nullptr) {
    QTreeWidget::keyPressEvent(event);
    return;
  }
  item->setCheckState(column::kTick,
                      item->checkState(column::kTick) == Qt::Checked ? Qt::Unchecked : Qt::Checked);
  event->accept();
}

void AlbumListView::on_item_changed(QTreeWidgetItem* item, int column) {
  if (programmatic_ || column != column::kTick) return;
  // The user's click on a check box also makes that row the selected one.
  const int row = indexOfTopLevelItem(item);
  set_current_row(row);
  emit tick_changed_by_user(row);
}

}  // namespace tamberlo
