#include "common/ServerRows.h"

bool IsServerRow(const std::string& firstCell) {
  return !(firstCell == "Please choose a server:" || firstCell.empty() ||
           firstCell == "-----------------------" || firstCell == "Downloading Public Vents...");
}
