#include "common/RowPainter.h"

namespace {

constexpr Color kCellBackground = RGB(214, 221, 229);

struct GradientColours {
  Color top;
  Color bottom;
  Color line;
};

constexpr GradientColours kActive{RGB(80, 171, 233), RGB(0, 117, 215), RGB(15, 145, 224)};
constexpr GradientColours kInactive{RGB(168, 168, 168), RGB(121, 121, 121), RGB(145, 145, 145)};

int Blend(int bottom, double bottomWeight, int top, double topWeight) {
  return static_cast<int>(bottom * bottomWeight + top * topWeight);
}

}  // namespace

bool PaintServerListCell(Listbox& list, Graphics& g, int row) {
  g.SetForeColor(kCellBackground);
  g.FillRect(0, 0, g.Width(), g.Height());
  if (list.Selected(row) && row > -1) PaintSelectedGradient(list, g);
  return true;
}

void PaintSelectedGradient(Listbox& list, Graphics& g) {
  // Enabled is asked only of an active list.
  const GradientColours& colours = (list.Active() && list.Enabled()) ? kActive : kInactive;
  const int height = g.Height();
  // A cell with no height has no blend to compute: only its top line is drawn.
  for (int i = 0; height > 0 && i <= height; ++i) {
    const double topWeight = static_cast<double>(height - i) / height;
    const double bottomWeight = static_cast<double>(i) / height;
    g.SetForeColor(RGB(Blend(colours.bottom.red, bottomWeight, colours.top.red, topWeight),
                       Blend(colours.bottom.green, bottomWeight, colours.top.green, topWeight),
                       Blend(colours.bottom.blue, bottomWeight, colours.top.blue, topWeight)));
    g.DrawLine(0, i, g.Width(), i);
  }
  g.SetForeColor(colours.line);
  g.DrawLine(0, 0, g.Width(), 0);
}
