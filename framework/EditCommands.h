// The Edit menu's commands on the focused text field (framework-private).
#pragma once

#include <string>

// Runs EditCut, EditCopy, EditPaste, EditClear or EditSelectAll on the text field that has the
// keyboard focus. A read-only field takes only Copy and Select All. False when no text field has
// the focus or the item is no Edit command: the command then goes where menu commands go.
bool EditFocusedTextField(const std::string& itemName);
