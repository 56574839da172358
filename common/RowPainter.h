// The server lists' cell backgrounds: a flat fill, and a gradient behind the selected row.
#pragma once

#include "Framework.h"

// Paints one cell of `list`: the flat fill, then the gradient when `row` is selected and not -1.
// Always returns True.
bool PaintServerListCell(Listbox& list, Graphics& g, int row);
// The selected-row gradient: blue while the list is active and enabled, grey otherwise.
void PaintSelectedGradient(Listbox& list, Graphics& g);
