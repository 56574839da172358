// Framework-private: the rows, model, view and cell painter behind Listbox.
#pragma once

#include <QAbstractItemDelegate>
#include <QAbstractTableModel>
#include <QCache>
#include <QFont>
#include <QStaticText>
#include <QTableView>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class Listbox;

// The rows of a List text: the text kept once, plus where each cell and each row starts.
// Splitting is one pass and allocates only the two offset tables.
class ListRows {
 public:
  // Cells split by TAB, rows by CR, LF or CR LF; a final line end adds no row.
  void Assign(std::string text);
  int RowCount() const { return rowStarts_.empty() ? 0 : static_cast<int>(rowStarts_.size()) - 1; }
  int CellCount(int row) const;
  // The bytes of one cell; empty outside the rows and cells.
  std::string_view Cell(int row, int column) const;

 private:
  std::string text_;
  // Offset of each cell in text_, then one past the last cell's separator (a sentinel).
  std::vector<std::uint32_t> cellStarts_;
  // Index in cellStarts_ of each row's first cell, then the sentinel's index.
  std::vector<std::uint32_t> rowStarts_;
};

// The rows as a table. The raw rows are kept as given; whether the first is the heading and how
// many columns show are decided when read, so the order of the declared properties is free.
class ListModel : public QAbstractTableModel {
 public:
  // Each change resets the model: the view drops its selection without per-row work.
  void SetRows(std::string text);
  void SetHasHeading(bool value);
  void SetColumns(int count);
  // Moves the data row `from` so that it stands at `to` (both among the current rows); the view
  // keeps its selection on the moved row.
  void MoveRow(int from, int to);

  int DataRows() const;
  std::string_view Cell(int row, int column) const;
  std::string_view Heading(int column) const;
  QString DisplayText(int row, int column) const;

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

 private:
  int HeadingRows() const { return hasHeading_ && rows_.RowCount() > 0 ? 1 : 0; }

  // The raw data row shown at each place, once the user has moved a row; empty means in order.
  int RawRow(int row) const { return order_.empty() ? row : order_[static_cast<std::size_t>(row)]; }

  ListRows rows_;
  std::vector<int> order_;
  bool hasHeading_ = false;
  int columns_ = 1;
};

// Cell texts laid out once, by content: refilling with the same names, scrolling back, and the
// repaints for a selection or an activation draw without shaping the text again.
class ShapedTexts {
 public:
  static constexpr std::size_t kLongestShown = 4096;
  // The text as drawn in `width` pixels, cut short with an ellipsis when it does not fit.
  const QStaticText& Get(const QString& text, const QFont& font, int width);

 private:
  struct Entry {
    QStaticText full;
    qreal fullWidth = 0;
    int elidedFor = -1;
    QStaticText elided;
  };
  // Bounded by the characters held, so a long scroll through many rows cannot grow it.
  QCache<QString, Entry> entries_{1 << 18};
  QFont font_;
};

// Paints a cell: the CellBackgroundPaint handler or the usual background, then the text.
class ListDelegate : public QAbstractItemDelegate {
 public:
  using QAbstractItemDelegate::QAbstractItemDelegate;
  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override;
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

 private:
  mutable ShapedTexts texts_;
};

class ListView : public QTableView {
 public:
  ListView(Listbox* owner, QWidget* parent);
  ~ListView() override;

  // Nil once the control has gone before its widget.
  Listbox* Owner() const { return owner_; }
  void Detach() { owner_ = nullptr; }

 protected:
  void changeEvent(QEvent* event) override;
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
  QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                       const QEvent* event) const override;
  // A list that allows reordering lets the user drag a row to another place.
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  Listbox* owner_;
  int dragRow_ = -1;
  QPoint dragStart_;
  bool dragging_ = false;
};
