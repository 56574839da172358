#include "tools/MacConnectVent.h"

#include "common/Directory.h"
#include "directory/MainWindow.h"

const WindowDeclaration& MacConnectVent::Declaration() const {
  using W = MacConnectVent;
  static const WindowDeclaration declaration{
      .properties = {{"Title", "Untitled"},
                     {"Width", 424},
                     {"Height", 102},
                     {"Frame", Frame::Sheet},
                     {"MaximizeButton", false},
                     {"Composite", false}},
      .controls = [] {
        std::vector<ControlDeclaration> c;
        c.push_back(Declare<EditField>("EditField1", {22, 34, 382, 22}, {{"TextFont", "Arial"}}));
        c.push_back(Declare<StaticText>("StaticText1", {22, 14, 380, 20},
                                        {{"Text", "Enter a Name for this Ventrilo server"},
                                         {"TextFont", "Arial"},
                                         {"Bold", true}}));
        c.push_back(Declare<PushButton>("PushButton1", {235, 68, 74, 16}, {{"Caption", "Cancel"}})
                        .On("Action", &W::PushButton1_Action));
        c.push_back(Declare<PushButton>("PushButton2", {330, 68, 74, 16},
                                        {{"Caption", "Connect"}, {"Default", true}})
                        .On("Action", &W::PushButton2_Action));
        c.push_back(Declare<Timer>("checkName", {{"Mode", TimerMode::Multiple}, {"Period", 450}})
                        .On("Action", &W::checkName_Action));
        return c;
      }()};
  return declaration;
}

void MacConnectVent::SetServerName(const std::string& name) {
  Find<EditField>("EditField1").SetText(name);
}

// Cancel.
void MacConnectVent::PushButton1_Action() {
  Close();
}

// Connect: the address is read now, so an answer that arrived while the sheet was up is used.
void MacConnectVent::PushButton2_Action() {
  const std::string address = Implicit<MainWindow>().ServerAddressText();
  ShowURL(LaunchUrl(address, Find<EditField>("EditField1").Text()));
  Close();
}

// A name that is one of the directory's notice rows is no server: the sheet closes by itself.
void MacConnectVent::checkName_Action() {
  if (Find<EditField>("EditField1").Text() == "-------------" ||
      Find<EditField>("EditField1").Text() == "-NEWS-" ||
      Find<EditField>("EditField1").Text() == "IMPORTANT MESSAGE") {
    Close();
  }
}
