// The rows of a server list that are not servers, shared by the main window's list and the
// detailed list.
#pragma once

#include <string>

// False for the rows that name no server, tested in this order: "Please choose a server:", the
// empty text (no row selected), the 23-hyphen rule, "Downloading Public Vents...".
bool IsServerRow(const std::string& firstCell);

// The server count under a list counts every row but these two notice rows of the directory's
// list: "Please choose a server:" and the rule under it.
constexpr int kNoticeRows = 2;
