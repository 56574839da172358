#include "Listbox.h"

#include <QFont>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QScrollBar>
#include <algorithm>
#include <cstdlib>

#include "ListView.h"
#include "Picture.h"
#include "Window.h"

namespace {

// Rows are this high unless the declaration says otherwise.
constexpr int kStandardRowHeight = 20;
// A column that shares the remaining width never shrinks below this.
constexpr int kNarrowestSharedColumn = 16;
constexpr double kWidestColumn = 100000;
// As many columns as the platform's lists allow.
constexpr int kMostColumns = 256;

// Replacing rows or changing how they are read resets the view; the selection goes with no
// Change.
class Replacing {
 public:
  explicit Replacing(bool& flag) : flag_(flag), was_(flag) { flag_ = true; }
  ~Replacing() { flag_ = was_; }
  Replacing(const Replacing&) = delete;
  Replacing& operator=(const Replacing&) = delete;

 private:
  bool& flag_;
  bool was_;
};

std::string Trimmed(const std::string& text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  const auto last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

// One entry of ColumnWidths: pixels ("150"), a share of the whole width ("40%"), or a weight
// in the width left over ("*", "2*", or an empty entry).
struct WidthEntry {
  int pixels = 0;
  double weight = 0;
};

WidthEntry ParseWidth(const std::string& raw, int available) {
  const std::string entry = Trimmed(raw);
  if (entry.empty() || entry == "*") return {0, 1};
  char* end = nullptr;
  const double number = std::strtod(entry.c_str(), &end);
  const std::string unit = Trimmed(end);
  // Also refuses NaN and widths no screen has.
  if (end == entry.c_str() || !(number >= 0 && number <= kWidestColumn)) return {0, 1};
  if (unit == "%") return {static_cast<int>(available * std::min(number, 100.0) / 100.0), 0};
  if (unit == "*") return {0, number};
  if (unit.empty()) return {static_cast<int>(number), 0};
  return {0, 1};
}

}  // namespace

Listbox::Listbox(::Window& owner, std::string name)
    : RectControl(owner, std::move(name)), model_(std::make_unique<ListModel>()) {
  view_ = new ListView(this, owner.Content());
  view_->setModel(model_.get());
  QObject::connect(view_->selectionModel(), &QItemSelectionModel::selectionChanged, view_,
                   [view = view_] {
                     if (view->Owner() != nullptr) view->Owner()->SelectionChanged();
                   });
  // Once the user has sized a column by hand, resizing the list leaves the columns alone.
  QObject::connect(view_->horizontalHeader(), &QHeaderView::sectionResized, view_, [view = view_] {
    Listbox* owner = view->Owner();
    if (owner != nullptr && !owner->applyingWidths_) owner->userSizedColumns_ = true;
  });
  AttachWidget(view_);
  ApplyRowHeight();
  ApplyScrollbars();
}

Listbox::~Listbox() {
  if (view_ != nullptr) {
    // The widget outlives the control: it must not reach back into it or into the model.
    view_->Detach();
    view_->setModel(nullptr);
  }
}

void Listbox::ViewDestroyed() {
  view_ = nullptr;
}

// ---- rows ----------------------------------------------------------------------------------

void Listbox::SetInitialValue(std::string listText) {
  Replacing replacing(replacingRows_);
  model_->SetRows(std::move(listText));
  // New rows are read from the top.
  if (view_ != nullptr) view_->scrollToTop();
}

int Listbox::ListCount() const {
  return model_->DataRows();
}

std::string Listbox::Text() const {
  return Cell(ListIndex(), 0);
}

std::string Listbox::Cell(int row, int column) const {
  return std::string(model_->Cell(row, column));
}

std::string Listbox::Heading(int column) const {
  return std::string(model_->Heading(column));
}

// ---- selection -----------------------------------------------------------------------------

bool Listbox::Selected(int row) const {
  if (view_ == nullptr || row < 0 || row >= ListCount()) return false;
  return view_->selectionModel()->isSelected(model_->index(row, 0));
}

void Listbox::SetSelected(int row, bool selected) {
  if (view_ == nullptr || row < 0 || row >= ListCount()) return;
  QItemSelectionModel::SelectionFlags flags = QItemSelectionModel::Rows;
  if (!selected) {
    flags |= QItemSelectionModel::Deselect;
  } else if (selectionType_ == 0) {
    flags |= QItemSelectionModel::ClearAndSelect;
  } else {
    flags |= QItemSelectionModel::Select;
  }
  view_->selectionModel()->select(model_->index(row, 0), flags);
}

int Listbox::ListIndex() const {
  if (view_ == nullptr) return -1;
  int first = -1;
  for (const QItemSelectionRange& range : view_->selectionModel()->selection()) {
    if (first < 0 || range.top() < first) first = range.top();
  }
  return first;
}

void Listbox::SetListIndex(int row) {
  if (view_ == nullptr) return;
  QItemSelectionModel* selection = view_->selectionModel();
  if (row < 0 || row >= ListCount()) {
    selection->clearSelection();
    return;
  }
  // The current row moves too, so the keyboard goes on from the chosen row.
  selection->setCurrentIndex(model_->index(row, 0),
                             QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void Listbox::SelectionChanged() {
  if (replacingRows_) return;
  Raise<PlainHandler>("Change");
}

// ---- painting ------------------------------------------------------------------------------

bool Listbox::PaintCellBackground(Graphics& g, int row, int column) {
  return Raise<CellPaintHandler>("CellBackgroundPaint", g, row, column).value_or(false);
}

int Listbox::ColumnAlignmentOffset(int column) const {
  if (column < 0 || column >= static_cast<int>(alignmentOffsets_.size())) return 0;
  return alignmentOffsets_[column];
}

void Listbox::SetColumnAlignmentOffset(int column, int offset) {
  if (column < 0) return;
  if (column >= static_cast<int>(alignmentOffsets_.size())) {
    // Column numbers come from code; a runaway number must not allocate without bound.
    if (column >= kMostColumns) return;
    alignmentOffsets_.resize(column + 1, 0);
  }
  alignmentOffsets_[column] = offset;
  if (view_ != nullptr) view_->viewport()->update();
}

// ---- layout --------------------------------------------------------------------------------

void Listbox::ApplyColumnWidths() {
  if (view_ == nullptr) return;
  const int columns = model_->columnCount();
  // Before the view is first shown its viewport has no real size yet: estimate it.
  int available = view_->viewport()->width();
  if (!view_->isVisible()) {
    available = std::max(0, Width()) - 2 * view_->frameWidth();
    if (view_->verticalScrollBarPolicy() == Qt::ScrollBarAlwaysOn) {
      available -= view_->verticalScrollBar()->sizeHint().width();
    }
  }
  available = std::max(0, available);

  std::vector<WidthEntry> entries(columns, WidthEntry{0, 1});
  std::size_t start = 0;
  for (int column = 0; column < columns && start <= columnWidths_.size(); ++column) {
    const std::size_t comma = columnWidths_.find(',', start);
    const std::string raw =
        columnWidths_.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
    if (!columnWidths_.empty()) entries[column] = ParseWidth(raw, available);
    if (comma == std::string::npos) break;
    start = comma + 1;
  }

  int fixed = 0;
  double weights = 0;
  for (const WidthEntry& entry : entries) {
    fixed += entry.pixels;
    weights += entry.weight;
  }
  int left = std::max(0, available - fixed);
  double weightLeft = weights;
  QHeaderView* header = view_->horizontalHeader();
  applyingWidths_ = true;
  for (int column = 0; column < columns; ++column) {
    const WidthEntry& entry = entries[column];
    int width = entry.pixels;
    if (entry.weight > 0) {
      // The last shared column takes what rounding left over.
      width =
          weightLeft <= entry.weight ? left : static_cast<int>(left * entry.weight / weightLeft);
      left -= width;
      weightLeft -= entry.weight;
      width = std::max(width, kNarrowestSharedColumn);
    }
    header->resizeSection(column, std::max(0, width));
  }
  applyingWidths_ = false;
}

void Listbox::ApplyScrollbars() {
  if (view_ == nullptr) return;
  const auto policy = [this](bool shown) {
    if (!shown) return Qt::ScrollBarAlwaysOff;
    return autoHideScrollbars_ ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOn;
  };
  view_->setHorizontalScrollBarPolicy(policy(scrollbarHorizontal_));
  view_->setVerticalScrollBarPolicy(policy(scrollBarVertical_));
}

void Listbox::ApplyRowHeight() {
  if (view_ == nullptr) return;
  const int height = defaultRowHeight_ > 0 ? defaultRowHeight_ : kStandardRowHeight;
  view_->verticalHeader()->setDefaultSectionSize(height);
}

void Listbox::ApplyHeading() {
  if (view_ != nullptr) view_->horizontalHeader()->setVisible(hasHeading_);
}

// ---- declaration ---------------------------------------------------------------------------

bool Listbox::ApplyProperty(const std::string& name, const PropertyValue& value) {
  if (ApplyTextStyle(name, value) || ApplyDataBinding(name, value)) return true;
  if (name == "InitialValue") {
    SetInitialValue(value.AsString(name));
  } else if (name == "HasHeading") {
    hasHeading_ = value.AsBoolean(name);
    Replacing replacing(replacingRows_);
    model_->SetHasHeading(hasHeading_);
    ApplyHeading();
  } else if (name == "ColumnCount") {
    columnCount_ = std::clamp(value.AsInteger(name), 1, kMostColumns);
    {
      Replacing replacing(replacingRows_);
      model_->SetColumns(columnCount_);
    }
    ApplyColumnWidths();
  } else if (name == "ColumnWidths") {
    columnWidths_ = value.AsString(name);
    userSizedColumns_ = false;
    ApplyColumnWidths();
  } else if (name == "HeadingIndex") {
    // The list never sorts, so no heading may claim to be the sorted column.
    RequireUsual(name, value, -1);
  } else if (name == "DefaultRowHeight") {
    defaultRowHeight_ = value.AsInteger(name);
    ApplyRowHeight();
  } else if (name == "SelectionType") {
    selectionType_ = value.AsInteger(name);
    if (view_ != nullptr) {
      view_->setSelectionMode(selectionType_ == 0 ? QAbstractItemView::SingleSelection
                                                  : QAbstractItemView::ExtendedSelection);
    }
  } else if (name == "RequiresSelection") {
    requiresSelection_ = value.AsBoolean(name);
  } else if (name == "ColumnsResizable") {
    columnsResizable_ = value.AsBoolean(name);
    if (view_ != nullptr) {
      view_->horizontalHeader()->setSectionResizeMode(columnsResizable_ ? QHeaderView::Interactive
                                                                        : QHeaderView::Fixed);
    }
  } else if (name == "ScrollbarHorizontal") {
    scrollbarHorizontal_ = value.AsBoolean(name);
    ApplyScrollbars();
  } else if (name == "ScrollBarVertical") {
    scrollBarVertical_ = value.AsBoolean(name);
    ApplyScrollbars();
  } else if (name == "AutoHideScrollbars") {
    autoHideScrollbars_ = value.AsBoolean(name);
    ApplyScrollbars();
  } else if (name == "UseFocusRing") {
    useFocusRing_ = value.AsBoolean(name);
    if (view_ != nullptr) view_->setAttribute(Qt::WA_MacShowFocusRect, useFocusRing_);
  } else if (name == "GridLinesHorizontal") {
    gridLinesHorizontal_ = value.AsInteger(name);
    if (view_ != nullptr) view_->viewport()->update();
  } else if (name == "GridLinesVertical") {
    gridLinesVertical_ = value.AsInteger(name);
    if (view_ != nullptr) view_->viewport()->update();
  } else if (name == "EnableDragReorder") {
    enableDragReorder_ = value.AsBoolean(name);
  } else if (name == "EnableDrag" || name == "Hierarchical") {
    // Rows are neither dragged out of the list nor folded under one another here.
    RequireUsual(name, value, false);
  } else if (name == "_ScrollWidth" || name == "_ScrollOffset") {
    // The designer's record of where the list was scrolled; a list starts at its top.
    RequireUsual(name, value, name == "_ScrollWidth" ? -1 : 0);
  } else {
    return RectControl::ApplyProperty(name, value);
  }
  return true;
}

std::optional<std::size_t> Listbox::EventSignature(const std::string& event) const {
  if (event == "Change") return kSignature<PlainHandler>;
  if (event == "CellBackgroundPaint") return kSignature<CellPaintHandler>;
  return RectControl::EventSignature(event);
}

void Listbox::FontChanged(const QFont& font) {
  if (view_ != nullptr) view_->setFont(font);
}
