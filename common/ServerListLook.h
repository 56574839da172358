// What the main window's server list and the detailed list declare alike: a 150-pixel name
// column with a heading, 20-pixel rows in the list font, one selected row at a time, rows the
// user may drag into another order, a vertical scroll bar only when needed.
#pragma once

#include "Framework.h"

// The shared settings, followed by the list's own (column count, rows, locks).
inline PropertyList ServerListLook(PropertyList own) {
  PropertyList look = {{"ColumnWidths", "150"},
                       {"HasHeading", true},
                       {"HeadingIndex", -1},
                       {"DefaultRowHeight", 20},
                       {"TextFont", "Lucidia Grande"},
                       {"TextSize", 12},
                       {"SelectionType", 0},
                       {"RequiresSelection", false},
                       {"ColumnsResizable", true},
                       {"EnableDrag", false},
                       {"EnableDragReorder", true},
                       {"Hierarchical", false},
                       {"ScrollbarHorizontal", false},
                       {"ScrollBarVertical", true},
                       {"AutoHideScrollbars", true},
                       {"GridLinesHorizontal", 0},
                       {"GridLinesVertical", 0},
                       {"UseFocusRing", false},
                       {"_ScrollWidth", -1},
                       {"_ScrollOffset", 0}};
  look.insert(look.end(), own.begin(), own.end());
  return look;
}
