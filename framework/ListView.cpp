#include "ListView.h"

#include <QApplication>
#include <QEvent>
#include <QHeaderView>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QStyle>
#include <cstring>
#include <limits>

#include "ListHeading.h"
#include "Listbox.h"
#include "Picture.h"

// ---- ListRows ------------------------------------------------------------------------------

namespace {

// Whether any of the eight bytes is below 14: TAB (9), LF (10) and CR (13) are, while the bytes
// of ordinary text are not, so the split can skip eight bytes at a time.
bool MayHoldSeparator(std::uint64_t bytes) {
  constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
  constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;
  return ((bytes - kOnes * 14) & ~bytes & kHighBits) != 0;
}

}  // namespace

void ListRows::Assign(std::string text) {
  // Offsets are 32 bits and row numbers are ints: a List text beyond that is cut short.
  constexpr std::size_t kLimit = std::numeric_limits<std::int32_t>::max() - 1;
  if (text.size() > kLimit) text.resize(kLimit);

  std::vector<std::uint32_t> cellStarts;
  std::vector<std::uint32_t> rowStarts;
  const std::size_t size = text.size();
  if (size > 0) {
    const char* data = text.data();
    cellStarts.push_back(0);
    rowStarts.push_back(0);
    const auto endRow = [&](std::size_t nextCell) {
      cellStarts.push_back(static_cast<std::uint32_t>(nextCell));
      rowStarts.push_back(static_cast<std::uint32_t>(cellStarts.size() - 1));
    };
    for (std::size_t i = 0; i < size; ++i) {
      for (std::uint64_t word; i + 8 <= size; i += 8) {
        std::memcpy(&word, data + i, 8);
        if (MayHoldSeparator(word)) break;
      }
      if (i >= size) break;
      const char c = data[i];
      if (c == '\t') {
        cellStarts.push_back(static_cast<std::uint32_t>(i + 1));
      } else if (c == '\r' || c == '\n') {
        if (c == '\r' && i + 1 < size && data[i + 1] == '\n') ++i;
        endRow(i + 1);
      }
    }
    // After a final line end the last cell begun is the sentinel and the last row start marks
    // the end of the rows; otherwise close the last row as if a separator followed the text.
    if (data[size - 1] != '\r' && data[size - 1] != '\n') endRow(size + 1);
  }
  text_ = std::move(text);
  cellStarts_ = std::move(cellStarts);
  rowStarts_ = std::move(rowStarts);
}

int ListRows::CellCount(int row) const {
  if (row < 0 || row >= RowCount()) return 0;
  return static_cast<int>(rowStarts_[row + 1] - rowStarts_[row]);
}

std::string_view ListRows::Cell(int row, int column) const {
  if (column < 0 || column >= CellCount(row)) return {};
  const std::size_t cell = rowStarts_[row] + static_cast<std::size_t>(column);
  const std::size_t begin = cellStarts_[cell];
  // The next cell starts after this one's separator: a TAB, CR or LF, or the two bytes of CR LF.
  // A cell never holds CR or LF, so an LF after a CR is always the end of a CR LF.
  std::size_t end = cellStarts_[cell + 1] - 1;
  if (end > begin && text_[end] == '\n' && text_[end - 1] == '\r') --end;
  return std::string_view(text_.data() + begin, end - begin);
}

// ---- ListModel -----------------------------------------------------------------------------

namespace {

QString ToQString(std::string_view bytes) {
  return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

}  // namespace

void ListModel::SetRows(std::string text) {
  ListRows fresh;
  fresh.Assign(std::move(text));
  beginResetModel();
  rows_ = std::move(fresh);
  order_.clear();
  endResetModel();
}

void ListModel::SetHasHeading(bool value) {
  if (value == hasHeading_) return;
  beginResetModel();
  hasHeading_ = value;
  order_.clear();
  endResetModel();
}

void ListModel::MoveRow(int from, int to) {
  const int rows = DataRows();
  if (from < 0 || from >= rows || to < 0 || to >= rows || from == to) return;
  if (order_.empty()) {
    order_.resize(static_cast<std::size_t>(rows));
    for (int i = 0; i < rows; ++i) order_[static_cast<std::size_t>(i)] = i;
  }
  // Qt names the place before which the row lands, counted before the move.
  beginMoveRows({}, from, from, {}, to > from ? to + 1 : to);
  const int raw = order_[static_cast<std::size_t>(from)];
  order_.erase(order_.begin() + from);
  order_.insert(order_.begin() + to, raw);
  endMoveRows();
}

void ListModel::SetColumns(int count) {
  count = std::max(1, count);
  if (count == columns_) return;
  beginResetModel();
  columns_ = count;
  endResetModel();
}

int ListModel::DataRows() const {
  return rows_.RowCount() - HeadingRows();
}

std::string_view ListModel::Cell(int row, int column) const {
  if (row < 0 || row >= DataRows()) return {};
  return rows_.Cell(RawRow(row) + HeadingRows(), column);
}

std::string_view ListModel::Heading(int column) const {
  return HeadingRows() == 0 ? std::string_view() : rows_.Cell(0, column);
}

QString ListModel::DisplayText(int row, int column) const {
  return ToQString(Cell(row, column));
}

int ListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : DataRows();
}

int ListModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : columns_;
}

QVariant ListModel::data(const QModelIndex& index, int role) const {
  if (role != Qt::DisplayRole || !index.isValid()) return {};
  return DisplayText(index.row(), index.column());
}

QVariant ListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole || orientation != Qt::Horizontal) return {};
  return ToQString(Heading(section));
}

Qt::ItemFlags ListModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

// ---- ShapedTexts ---------------------------------------------------------------------------

namespace {

QStaticText Shaped(const QString& text, const QFont& font) {
  QStaticText shaped(text);
  // Names from the network are shown as they are, never read as markup.
  shaped.setTextFormat(Qt::PlainText);
  shaped.prepare(QTransform(), font);
  return shaped;
}

}  // namespace

const QStaticText& ShapedTexts::Get(const QString& text, const QFont& font, int width) {
  if (!font.isCopyOf(font_)) {
    if (font != font_) entries_.clear();
    font_ = font;
  }
  Entry* entry = entries_.object(text);
  if (entry == nullptr) {
    entry = new Entry;
    entry->full = Shaped(text, font);
    entry->fullWidth = entry->full.size().width();
    // Cells are cut to kLongestShown bytes, so every entry fits the budget.
    entries_.insert(text, entry, text.size() + 32);
  }
  if (entry->fullWidth <= width) return entry->full;
  if (entry->elidedFor != width) {
    entry->elided = Shaped(QFontMetrics(font).elidedText(text, Qt::ElideRight, width), font);
    entry->elidedFor = width;
  }
  return entry->elided;
}

// ---- ListDelegate --------------------------------------------------------------------------

void ListDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                         const QModelIndex& index) const {
  const auto* view = static_cast<const ListView*>(parent());
  Listbox* owner = view->Owner();
  const auto* model = static_cast<const ListModel*>(index.model());
  const QRect rect = option.rect;
  const bool selected = (option.state & QStyle::State_Selected) != 0;
  QPalette::ColorGroup group = QPalette::Normal;
  if ((option.state & QStyle::State_Enabled) == 0) {
    group = QPalette::Disabled;
  } else if ((option.state & QStyle::State_Active) == 0) {
    group = QPalette::Inactive;
  }

  bool painted = false;
  if (owner != nullptr && owner->HasHandler("CellBackgroundPaint")) {
    // The handler paints on a clean cell, whatever the style drew for the row beforehand.
    painter->fillRect(rect, option.palette.brush(group, QPalette::Base));
    painter->save();
    painter->translate(rect.topLeft());
    painter->setClipRect(QRect(0, 0, rect.width(), rect.height()), Qt::IntersectClip);
    Graphics g(*painter, rect.width(), rect.height());
    painted = owner->PaintCellBackground(g, index.row(), index.column());
    painter->restore();
  }
  if (!painted && selected)
    painter->fillRect(rect, option.palette.brush(group, QPalette::Highlight));

  const QWidget* widget = option.widget;
  const QStyle* style = widget != nullptr ? widget->style() : QApplication::style();
  if (owner != nullptr && (owner->GridLinesHorizontal() > 0 || owner->GridLinesVertical() > 0)) {
    const auto gridColor =
        static_cast<QRgb>(style->styleHint(QStyle::SH_Table_GridLineColor, &option, widget));
    painter->save();
    painter->setPen(QColor::fromRgb(gridColor));
    if (owner->GridLinesHorizontal() > 0) painter->drawLine(rect.bottomLeft(), rect.bottomRight());
    if (owner->GridLinesVertical() > 0) painter->drawLine(rect.topRight(), rect.bottomRight());
    painter->restore();
  }

  const std::string_view bytes = model->Cell(index.row(), index.column());
  if (bytes.empty()) return;
  QColor textColor = option.palette.color(group, QPalette::Text);
  if (selected) {
    textColor =
        painted ? QColor(Qt::white) : option.palette.color(group, QPalette::HighlightedText);
  }
  const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
  const int offset = owner != nullptr ? owner->ColumnAlignmentOffset(index.column()) : 0;
  const QRect textRect = rect.adjusted(margin + offset, 0, -margin, 0);
  if (textRect.width() <= 0) return;
  // No column shows more characters than this; a huge cell from the network costs no more.
  const std::string_view shown = bytes.substr(0, ShapedTexts::kLongestShown);
  const QString text = QString::fromUtf8(shown.data(), static_cast<qsizetype>(shown.size()));
  const QStaticText& shaped = texts_.Get(text, option.font, textRect.width());
  const QFontMetrics& metrics = option.fontMetrics;
  painter->save();
  // Only a font taller than the rows could reach into the next row.
  if (metrics.height() > rect.height()) painter->setClipRect(rect, Qt::IntersectClip);
  painter->setFont(option.font);
  painter->setPen(textColor);
  painter->drawStaticText(textRect.left(), rect.top() + (rect.height() - metrics.height()) / 2,
                          shaped);
  painter->restore();
}

QSize ListDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
  const auto* model = static_cast<const ListModel*>(index.model());
  const int margin = 2 * (QApplication::style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 1);
  return QSize(
      option.fontMetrics.horizontalAdvance(model->DisplayText(index.row(), index.column())) +
          margin,
      option.fontMetrics.height());
}

// ---- ListView ------------------------------------------------------------------------------

ListView::ListView(Listbox* owner, QWidget* parent) : QTableView(parent), owner_(owner) {
  setItemDelegate(new ListDelegate(this));
  setSelectionBehavior(SelectRows);
  setSelectionMode(SingleSelection);
  setEditTriggers(NoEditTriggers);
  setShowGrid(false);
  setSortingEnabled(false);
  setWordWrap(false);
  setCornerButtonEnabled(false);
  setTabKeyNavigation(false);
  setHorizontalScrollMode(ScrollPerPixel);
  // Every row the same height, never measured: 100,000 rows cost no more to lay out than ten.
  QHeaderView* rows = verticalHeader();
  rows->hide();
  rows->setSectionResizeMode(QHeaderView::Fixed);
  rows->setMinimumSectionSize(1);
  rows->setDefaultSectionSize(20);
  setHorizontalHeader(new ListHeading(this));
  QHeaderView* columns = horizontalHeader();
  columns->hide();
  columns->setSectionResizeMode(QHeaderView::Fixed);
  columns->setStretchLastSection(false);
  columns->setHighlightSections(false);
  columns->setSectionsClickable(false);
  columns->setSortIndicatorShown(false);
  columns->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
}

ListView::~ListView() {
  if (selectionModel() != nullptr) selectionModel()->disconnect(this);
  if (owner_ != nullptr) owner_->ViewDestroyed();
  owner_ = nullptr;
}

// Cell painters colour rows by the window's activation and the list's enabling.
void ListView::changeEvent(QEvent* event) {
  QTableView::changeEvent(event);
  switch (event->type()) {
    case QEvent::ActivationChange:
    case QEvent::EnabledChange:
    case QEvent::PaletteChange:
      viewport()->update();
      break;
    default:
      break;
  }
}

bool ListView::event(QEvent* event) {
  if (event->type() == QEvent::WindowActivate || event->type() == QEvent::WindowDeactivate) {
    viewport()->update();
  }
  return QTableView::event(event);
}

// Below the last row the list goes on in empty row slots, each painted by the list's cell
// painter with its row number, so the window's painter colours the whole list area.
void ListView::paintEvent(QPaintEvent* event) {
  QTableView::paintEvent(event);
  if (owner_ == nullptr || !owner_->HasHandler("CellBackgroundPaint") || model() == nullptr) return;
  const int rows = model()->rowCount();
  const int height = verticalHeader()->defaultSectionSize();
  if (height <= 0) return;
  int top = rows == 0 ? 0 : rowViewportPosition(rows - 1) + rowHeight(rows - 1);
  QPainter painter(viewport());
  painter.setClipRegion(event->region());
  const QBrush base = palette().brush(QPalette::Base);
  for (int row = rows; top < viewport()->height(); ++row, top += height) {
    for (int column = 0; column < model()->columnCount(); ++column) {
      const QRect cell(columnViewportPosition(column), top, columnWidth(column), height);
      if (!event->region().intersects(cell)) continue;
      painter.fillRect(cell, base);
      painter.save();
      painter.translate(cell.topLeft());
      painter.setClipRect(QRect(0, 0, cell.width(), cell.height()), Qt::IntersectClip);
      Graphics g(painter, cell.width(), cell.height());
      owner_->PaintCellBackground(g, row, column);
      painter.restore();
    }
  }
}

void ListView::resizeEvent(QResizeEvent* event) {
  QTableView::resizeEvent(event);
  if (owner_ != nullptr && !owner_->userSizedColumns_) owner_->ApplyColumnWidths();
}

void ListView::mousePressEvent(QMouseEvent* event) {
  QTableView::mousePressEvent(event);
  dragging_ = false;
  dragRow_ = -1;
  if (owner_ != nullptr && owner_->EnableDragReorder() && event->button() == Qt::LeftButton) {
    dragRow_ = indexAt(event->position().toPoint()).row();
    dragStart_ = event->position().toPoint();
  }
}

void ListView::mouseMoveEvent(QMouseEvent* event) {
  if (dragRow_ < 0 || (event->buttons() & Qt::LeftButton) == 0) {
    QTableView::mouseMoveEvent(event);
    return;
  }
  // Past the drag distance the press becomes a move of its row; until then it is a click.
  if ((event->position().toPoint() - dragStart_).manhattanLength() >=
      QApplication::startDragDistance()) {
    dragging_ = true;
    viewport()->setCursor(Qt::ClosedHandCursor);
  }
}

void ListView::mouseReleaseEvent(QMouseEvent* event) {
  if (dragging_ && owner_ != nullptr && model() != nullptr) {
    const int rows = model()->rowCount();
    int to = indexAt(event->position().toPoint()).row();
    if (to < 0) to = event->position().y() < 0 ? 0 : rows - 1;
    static_cast<ListModel*>(model())->MoveRow(dragRow_, to);
  }
  if (dragging_) viewport()->unsetCursor();
  dragging_ = false;
  dragRow_ = -1;
  QTableView::mouseReleaseEvent(event);
}

// Rows are what the user picks: Home and End go to the first and last row, not column.
QModelIndex ListView::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
  if (action == MoveHome || action == MoveEnd) modifiers |= Qt::ControlModifier;
  return QTableView::moveCursor(action, modifiers);
}

// A list that requires a selection keeps its row when the user clicks beside the rows or
// deselects with a modifier.
QItemSelectionModel::SelectionFlags ListView::selectionCommand(const QModelIndex& index,
                                                               const QEvent* event) const {
  const QItemSelectionModel::SelectionFlags flags = QTableView::selectionCommand(index, event);
  if (owner_ == nullptr || !owner_->RequiresSelection() || selectionModel() == nullptr ||
      !selectionModel()->hasSelection()) {
    return flags;
  }
  if (!index.isValid()) return QItemSelectionModel::NoUpdate;
  const bool dropsRow =
      (flags & QItemSelectionModel::Deselect) != 0 ||
      ((flags & QItemSelectionModel::Toggle) != 0 && selectionModel()->isSelected(index));
  if (dropsRow && selectionModel()->selectedRows().size() <= 1) {
    return QItemSelectionModel::NoUpdate;
  }
  return flags;
}
