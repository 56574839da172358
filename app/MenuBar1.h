// The program's one menu bar, shared by the application and the main window.
#pragma once

#include "Framework.h"

class MenuBar1 : public MenuBar {
 public:
  MenuBar1();

 private:
  void Untitled0();
  void Untitled1();
  void Untitled2();
  void Untitled3();
  void Untitled4();
  void Untitled5();
};

// The one instance: made on the first call, kept until the end of the run.
MenuBar* MenuBar1Instance();
