#include "tools/AdvancedScanner.h"

#include "common/Directory.h"
#include "common/RowPainter.h"
#include "common/ServerListLook.h"
#include "common/ServerRows.h"
#include "directory/MainWindow.h"

const WindowDeclaration& AdvancedScanner::Declaration() const {
  using W = AdvancedScanner;
  static const WindowDeclaration declaration{
      .properties = {{"Title", "Detailed Server List (Beta)"},
                     {"Width", 629},
                     {"Height", 438},
                     {"MinWidth", 437},
                     {"MinHeight", 200},
                     {"HasBackColor", true}},
      .controls = [] {
        std::vector<ControlDeclaration> c;
        c.push_back(Declare<Listbox>("ventList", {0, 0, 629, 400},
                                     ServerListLook({{"ColumnCount", 4},
                                                     {"InitialValue",
                                                      "Name\tSlots\tOwner\tPurpose\r"
                                                      "GETTING SERVERS\r"
                                                      "\r"
                                                      "PLEASE\tWAIT"},
                                                     {"LockLeft", true},
                                                     {"LockTop", true},
                                                     {"LockRight", true},
                                                     {"LockBottom", true}}))
                        .On("Change", &W::ventList_Change)
                        .On("CellBackgroundPaint", &W::ventList_CellBackgroundPaint));
        c.push_back(Declare<HTTPSocket>("getVents")
                        .On("PageReceived", &W::getVents_PageReceived)
                        .On("Error", &W::getVents_Error)
                        .On("Connected", &W::getVents_Connected));
        c.push_back(Declare<PushButton>("PushButton1", {97, 408, 434, 20},
                                        {{"Caption", "GO"},
                                         {"Enabled", false},
                                         {"Bold", true},
                                         {"LockLeft", true},
                                         {"LockRight", true},
                                         {"LockBottom", true}})
                        .On("Action", &W::PushButton1_Action));
        // Holds the path name of the last server row chosen here; lies above the window.
        c.push_back(
            Declare<StaticText>("urlDataText", {550, -53, 100, 20}, {{"Text", "Untitled"}}));
        return c;
      }()};
  return declaration;
}

// Every opening downloads the list afresh.
void AdvancedScanner::Event_Open() {
  Find<HTTPSocket>("getVents").Get(AdvancedListUrl());
}

void AdvancedScanner::getVents_Connected() {
  Find<Listbox>("ventList").SetInitialValue("Downloading updated list...");
}

void AdvancedScanner::getVents_PageReceived(const std::string&, int, const InternetHeaders&,
                                            std::string content) {
  // The toolkit repaints the list as it changes: no hiding and showing it again, which would
  // take the keyboard focus away from it.
  Find<Listbox>("ventList").SetInitialValue(std::move(content));
}

void AdvancedScanner::getVents_Error(int) {
  Find<Listbox>("ventList").SetInitialValue("Error:Could not connect");
}

// Any selection change enables GO for good; only a server row is remembered for it.
void AdvancedScanner::ventList_Change() {
  Find<PushButton>("PushButton1").SetEnabled(true);
  if (IsServerRow(Find<Listbox>("ventList").Text())) {
    Find<StaticText>("urlDataText").SetText(ServerPathName(Find<Listbox>("ventList").Text()));
  }
}

// GO: the main window fetches the server's files on its own sockets, shows the answers as for
// its own list, and comes to the front.
void AdvancedScanner::PushButton1_Action() {
  Implicit<MainWindow>().RequestServerDetailsAndAddress(Find<StaticText>("urlDataText").Text());
  Implicit<MainWindow>().SetVisible(false);
  Implicit<MainWindow>().SetVisible(true);
}

bool AdvancedScanner::ventList_CellBackgroundPaint(Graphics& g, int row, int) {
  return PaintServerListCell(Find<Listbox>("ventList"), g, row);
}

void AdvancedScanner::selectgradient(Graphics& g) {
  PaintSelectedGradient(Find<Listbox>("ventList"), g);
}
