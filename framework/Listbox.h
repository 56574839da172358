// A list of rows and columns, filled from a List text, with an optional heading row.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "RectControl.h"

class ListView;
class ListModel;

class Listbox : public RectControl {
 public:
  Listbox(::Window& owner, std::string name);
  ~Listbox() override;
  const char* ClassName() const override { return "Listbox"; }

  // Replaces every row with a List text: cells split by TAB, rows by CR (LF and CR LF are
  // accepted too); a final line end adds no row. With HasHeading the first row is the heading.
  // Replacing the rows raises no Change. The list keeps the text itself: pass it by move and the
  // bytes are held once.
  void SetInitialValue(std::string listText);
  // The rows below the heading.
  int ListCount() const;
  // The first cell of the selected row, "" when no row is selected.
  std::string Text() const;
  // The text of one cell ("" outside the rows).
  std::string Cell(int row, int column) const;
  // Whether the row is selected; False for a row that does not exist.
  bool Selected(int row) const;
  void SetSelected(int row, bool selected);
  // The selected row (the first one when several are), or -1.
  int ListIndex() const;
  void SetListIndex(int row);
  int ColumnCount() const { return columnCount_; }
  bool HasHeading() const { return hasHeading_; }
  std::string Heading(int column) const;
  int ColumnAlignmentOffset(int column) const;
  void SetColumnAlignmentOffset(int column, int offset);
  int DefaultRowHeight() const { return defaultRowHeight_; }
  int SelectionType() const { return selectionType_; }
  bool RequiresSelection() const { return requiresSelection_; }
  int GridLinesHorizontal() const { return gridLinesHorizontal_; }
  int GridLinesVertical() const { return gridLinesVertical_; }
  // Whether the user may drag a row to another place in the list.
  bool EnableDragReorder() const { return enableDragReorder_; }

  // Framework use: the view draws each cell's background through the CellBackgroundPaint
  // handler, then the text. Returns whether the handler painted.
  bool PaintCellBackground(Graphics& g, int row, int column);
  ListView* View() const { return view_; }

 protected:
  bool ApplyProperty(const std::string& name, const PropertyValue& value) override;
  std::optional<std::size_t> EventSignature(const std::string& event) const override;
  void FontChanged(const QFont& font) override;

 private:
  friend class ListView;
  void ApplyColumnWidths();
  void ApplyScrollbars();
  void ApplyRowHeight();
  void ApplyHeading();
  void SelectionChanged();
  void ViewDestroyed();

  ListView* view_ = nullptr;
  std::unique_ptr<ListModel> model_;
  bool applyingWidths_ = false;
  bool userSizedColumns_ = false;
  int columnCount_ = 1;
  bool hasHeading_ = false;
  std::string columnWidths_;
  int defaultRowHeight_ = -1;
  int selectionType_ = 0;
  bool requiresSelection_ = false;
  bool columnsResizable_ = false;
  bool enableDragReorder_ = false;
  bool scrollbarHorizontal_ = false;
  bool scrollBarVertical_ = true;
  bool autoHideScrollbars_ = true;
  bool useFocusRing_ = true;
  int gridLinesHorizontal_ = 0;
  int gridLinesVertical_ = 0;
  std::vector<int> alignmentOffsets_;
  bool replacingRows_ = false;
};
