#include "Framework.h"
#include "app/Startup.h"

int main(int argc, char** argv) {
  RuntimeInit(argc, argv);
  RegisterClasses();
  Main();
  Finalize();
  return RuntimeExit();
}
