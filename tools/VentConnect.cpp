#include "tools/VentConnect.h"

#include "common/Directory.h"
#include "directory/MainWindow.h"

namespace {
// Pages of PagePanel1, as the controls name them.
constexpr int kNamingPage = 1;
constexpr int kConnectingPage = 2;
}  // namespace

const WindowDeclaration& VentConnect::Declaration() const {
  using W = VentConnect;
  static const WindowDeclaration declaration{
      .properties = {{"Title", "Connect to Vent"},
                     {"Width", 438},
                     {"Height", 110},
                     {"MinWidth", 438},
                     {"MinHeight", 110},
                     {"Placement", Placement::ParentScreen},
                     {"LiveResize", false}},
      .controls = [] {
        std::vector<ControlDeclaration> c;
        c.push_back(Declare<PagePanel>("PagePanel1", {0, -2, 438, 112},
                                       {{"PanelCount", 2},
                                        {"Value", 0},
                                        {"LockLeft", true},
                                        {"LockTop", true},
                                        {"LockRight", true},
                                        {"LockBottom", true}}));
        c.push_back(Declare<EditField>("EditField1", {24, 33, 394, 22},
                                       {{"InitialParent", "PagePanel1"},
                                        {"TabPanelIndex", kNamingPage},
                                        {"LockLeft", true},
                                        {"LockRight", true}}));
        c.push_back(Declare<StaticText>("StaticText1", {24, 14, 394, 20},
                                        {{"InitialParent", "PagePanel1"},
                                         {"TabPanelIndex", kNamingPage},
                                         {"Text", "Name this vent"},
                                         {"LockLeft", true},
                                         {"LockRight", true}}));
        c.push_back(Declare<PushButton>("PushButton1", {37, 67, 171, 20},
                                        {{"InitialParent", "PagePanel1"},
                                         {"TabPanelIndex", kNamingPage},
                                         {"Caption", "Connect"},
                                         {"Default", true},
                                         {"LockLeft", true},
                                         {"LockTop", true},
                                         {"LockRight", true},
                                         {"LockBottom", true}})
                        .On("Action", &W::PushButton1_Action));
        c.push_back(Declare<PushButton>("PushButton2", {237, 67, 171, 20},
                                        {{"InitialParent", "PagePanel1"},
                                         {"TabPanelIndex", kNamingPage},
                                         {"Caption", "Cancel"},
                                         {"LockTop", true},
                                         {"LockRight", true},
                                         {"LockBottom", true}})
                        .On("Action", &W::PushButton2_Action));
        c.push_back(Declare<ProgressWheel>(
            "ProgressWheel1", {202, 14, 33, 33},
            {{"InitialParent", "PagePanel1"}, {"TabPanelIndex", kConnectingPage}}));
        c.push_back(Declare<StaticText>("StaticText2", {33, 53, 370, 20},
                                        {{"InitialParent", "PagePanel1"},
                                         {"TabPanelIndex", kConnectingPage},
                                         {"Text", "Opening your Ventrilo client and connecting..."},
                                         {"TextAlign", TextAlign::Center},
                                         {"TextFont", "Arial"}}));
        c.push_back(Declare<Timer>("Timer1", {{"Mode", TimerMode::Off}, {"Period", 6500}})
                        .On("Action", &W::Timer1_Action));
        // Lies wholly left of the window: it is never seen.
        c.push_back(Declare<HTMLViewer>("ventConnectPanel", {-212, -10, 200, 200}));
        return c;
      }()};
  return declaration;
}

// Connect: the progress page, the launch URL, and the dialog goes 6.5 s later. The view is
// handed the URL too but keeps unknown schemes to itself, so the client starts once.
void VentConnect::PushButton1_Action() {
  Find<PagePanel>("PagePanel1").SetValue(kConnectingPage - 1);
  Find<HTMLViewer>("ventConnectPanel")
      .LoadURL(LaunchUrl(Implicit<MainWindow>().ServerAddressText(),
                         Find<EditField>("EditField1").Text()));
  ShowURL(
      LaunchUrl(Implicit<MainWindow>().ServerAddressText(), Find<EditField>("EditField1").Text()));
  Find<Timer>("Timer1").SetMode(TimerMode::Multiple);
}

// Cancel.
void VentConnect::PushButton2_Action() {
  Close();
}

// The repeating timer serves as one delay: its first tick ends the dialog.
void VentConnect::Timer1_Action() {
  Find<Timer>("Timer1").SetMode(TimerMode::Off);
  Close();
}
