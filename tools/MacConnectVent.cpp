#include "tools/MacConnectVent.h"

#include "common/Directory.h"
#include "directory/MainWindow.h"

const WindowDeclaration& MacConnectVent::Declaration() const {
  using W = MacConnectVent;
  static const WindowDeclaration declaration{
      .properties = {{"Title", "Untitled"},
                     {"Width", 424},
                     {"Height", 102},
                     {"MinWidth", 64},
                     {"MinHeight", 64},
                     {"MaxWidth", 32000},
                     {"MaxHeight", 32000},
                     {"Frame", 8},
                     {"Placement", 0},
                     {"Resizeable", true},
                     {"CloseButton", true},
                     {"MaximizeButton", false},
                     {"MinimizeButton", true},
                     {"Composite", false},
                     {"HasBackColor", false},
                     {"Visible", true}},
      .controls = [] {
        std::vector<ControlDeclaration> c;
        c.push_back(Declare<EditField>("EditField1", {22, 34, 382, 22},
                                       {{"Text", ""},
                                        {"Multiline", false},
                                        {"Border", true},
                                        {"ReadOnly", false},
                                        {"TextFont", "Arial"},
                                        {"TextColor", RGB(0, 0, 0)},
                                        {"BackColor", RGB(255, 255, 255)}}));
        c.push_back(Declare<StaticText>("StaticText1", {22, 14, 380, 20},
                                        {{"Text", "Enter a Name for this Ventrilo server"},
                                         {"TextFont", "Arial"},
                                         {"Bold", true},
                                         {"TextAlign", 0},
                                         {"TextColor", RGB(0, 0, 0)}}));
        c.push_back(
            Declare<PushButton>("PushButton1", {235, 68, 74, 16},
                                {{"Caption", "Cancel"}, {"Default", false}, {"Cancel", false}})
                .On("Action", &W::PushButton1_Action));
        c.push_back(
            Declare<PushButton>("PushButton2", {330, 68, 74, 16},
                                {{"Caption", "Connect"}, {"Default", true}, {"Cancel", false}})
                .On("Action", &W::PushButton2_Action));
        c.push_back(Declare<Timer>("checkName", {{"Mode", 2}, {"Period", 450}})
                        .On("Action", &W::checkName_Action));
        return c;
      }()};
  return declaration;
}

// Cancel.
void MacConnectVent::PushButton1_Action() {
  Implicit<MacConnectVent>().Close();
}

// Connect: the address is read now, so an answer that arrived while the sheet was up is used.
void MacConnectVent::PushButton2_Action() {
  const std::string address = Implicit<MainWindow>().Find<StaticText>("ventURL").Text();
  ShowURL(LaunchUrl(address, Find<EditField>("EditField1").Text()));
  Implicit<MacConnectVent>().Close();
}

// A name that is one of the directory's notice rows is no server: the sheet closes by itself.
void MacConnectVent::checkName_Action() {
  if (Find<EditField>("EditField1").Text() == "-------------" ||
      Find<EditField>("EditField1").Text() == "-NEWS-" ||
      Find<EditField>("EditField1").Text() == "IMPORTANT MESSAGE") {
    Implicit<MacConnectVent>().Close();
  }
}
