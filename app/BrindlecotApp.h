// The application object and its menu commands. Every command returns False.
#pragma once

#include "Framework.h"

class BrindlecotApp : public Application {
 public:
  bool aboutWindowAdd_Action();
  bool checkUpdates_Action();
  bool FileClose_Action();
  bool addvent_Action();
  bool advancedMenuItem_Action();
  bool refreshList_Action();
  bool helpSystem_Action();
  bool minimizeMenuItem_Action();
  bool zoomMenuItem_Action();
};

// The registered application object; NilObjectException when there is none.
BrindlecotApp& App();
// The Window menu's items, looked up anew in the application's menu bar on every call; nil
// when the menu bar has no such item.
MenuItem* zoomMenuItem();
MenuItem* minimizeMenuItem();
