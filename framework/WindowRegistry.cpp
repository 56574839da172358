#include "WindowRegistry.h"

#include <QTimer>
#include <algorithm>
#include <map>

namespace {

std::map<std::string, Window*>& ImplicitTable() {
  static std::map<std::string, Window*> table;
  return table;
}

std::vector<Window*>& WindowList() {
  static std::vector<Window*> list;
  return list;
}

// Closed windows wait here until no handler of theirs runs any more: a window may be closed
// from inside one of its own handlers, or while that handler waits in a message box.
std::vector<Window*>& Graveyard() {
  static std::vector<Window*> graveyard;
  return graveyard;
}

void BuryIdle() {
  std::vector<Window*> idle;
  auto& graveyard = Graveyard();
  for (auto it = graveyard.begin(); it != graveyard.end();) {
    if ((*it)->Busy()) {
      ++it;
    } else {
      idle.push_back(*it);
      it = graveyard.erase(it);
    }
  }
  for (Window* window : idle) delete window;
}

}  // namespace

Window* GetImplicitWindow(const std::string& key) {
  auto found = ImplicitTable().find(key);
  return found == ImplicitTable().end() ? nullptr : found->second;
}

void RegisterImplicitWindow(const std::string& key, Window* window) {
  ImplicitTable()[key] = window;
}

void ForgetWindow(Window* window) {
  auto& table = ImplicitTable();
  for (auto it = table.begin(); it != table.end();) {
    it = it->second == window ? table.erase(it) : std::next(it);
  }
  auto& list = WindowList();
  list.erase(std::remove(list.begin(), list.end(), window), list.end());
}

const std::vector<Window*>& OpenWindows() {
  return WindowList();
}

void AddToWindowList(Window* window) {
  WindowList().push_back(window);
}

void BuryWhenIdle(Window* window) {
  Graveyard().push_back(window);
  ScheduleBurial();
}

void ScheduleBurial() {
  QTimer::singleShot(0, &BuryIdle);
}

void ReleaseImplicitWindows() {
  std::vector<Window*> live;
  for (auto& [key, window] : ImplicitTable()) live.push_back(window);
  ImplicitTable().clear();
  // Sheets first: their widgets are children of the window they belong to.
  std::stable_sort(live.begin(), live.end(), [](Window* a, Window* b) {
    return a->WindowFrame() == Frame::Sheet && b->WindowFrame() != Frame::Sheet;
  });
  for (Window* window : live) {
    WindowList().erase(std::remove(WindowList().begin(), WindowList().end(), window),
                       WindowList().end());
    delete window;
  }
}

void ReleaseWindowList() {
  std::vector<Window*> rest;
  rest.swap(WindowList());
  for (Window* window : rest) delete window;
  std::vector<Window*> dead;
  dead.swap(Graveyard());
  for (Window* window : dead) delete window;
}
