// The program's one menu bar, shared by the application and the main window.
#pragma once

#include "Framework.h"

class MenuBar1 : public MenuBar {
 public:
  MenuBar1();

 private:
  // One builder per menu, left to right.
  void Untitled0();  // File
  void Untitled1();  // Edit
  void Untitled2();  // Ventrilo Database
  void Untitled3();  // Servers
  void Untitled4();  // Window
  void Untitled5();  // Help
};

// The one instance: made on the first call, kept until the end of the run.
MenuBar* MenuBar1Instance();
