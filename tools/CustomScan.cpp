#include "tools/CustomScan.h"

#include "tools/scanAVent.h"

namespace {
constexpr Color kPanelGrey = RGB(188, 188, 188);
constexpr Color kFieldGrey = RGB(215, 215, 215);
constexpr Color kBlack = RGB(0, 0, 0);
constexpr const char* kAppletFont = "Times New Roman";
}  // namespace

// Dressed as a grey embedded applet; the "Port" label runs past the right edge on purpose.
const WindowDeclaration& CustomScan::Declaration() const {
  using W = CustomScan;
  static const WindowDeclaration declaration{
      .properties = {{"Title", "HTML Applet (Embedded)"},
                     {"Width", 456},
                     {"Height", 122},
                     {"Placement", Placement::MainScreen},
                     {"Resizeable", false},
                     {"MaximizeButton", false},
                     {"Composite", false},
                     {"HasBackColor", true},
                     {"BackColor", kPanelGrey}},
      .controls = [] {
        std::vector<ControlDeclaration> c;
        c.push_back(Declare<Rectangle>("Rectangle2", {0, -1, 456, 122},
                                       {{"FillColor", kPanelGrey},
                                        {"BorderWidth", 1},
                                        {"TopLeftColor", kBlack},
                                        {"BottomRightColor", kBlack}}));
        c.push_back(Declare<EditField>("Javahostname", {13, 18, 306, 33},
                                       {{"InitialParent", "Rectangle2"},
                                        {"BackColor", kFieldGrey},
                                        {"TextFont", kAppletFont},
                                        {"TextSize", 25}}));
        c.push_back(Declare<EditField>("Javaport", {331, 18, 105, 35},
                                       {{"InitialParent", "Rectangle2"},
                                        {"BackColor", kFieldGrey},
                                        {"TextFont", kAppletFont},
                                        {"TextSize", 26}}));
        c.push_back(Declare<BevelButton>("JavaButton1", {36, 65, 384, 26},
                                         {{"InitialParent", "Rectangle2"},
                                          {"Caption", "Scan"},
                                          {"TextFont", kAppletFont},
                                          {"TextSize", 15},
                                          {"Bold", true},
                                          {"Bevel", 0}})
                        .On("Action", &W::JavaButton1_Action));
        c.push_back(Declare<StaticText>("Javatext1", {13, 0, 306, 20},
                                        {{"InitialParent", "Rectangle2"},
                                         {"Text", "Hostname"},
                                         {"TextFont", kAppletFont},
                                         {"TextSize", 15}}));
        c.push_back(
            Declare<StaticText>("Javatext2", {331, 0, 159, 20},
                                {{"Text", "Port"}, {"TextFont", kAppletFont}, {"TextSize", 15}}));
        c.push_back(Declare<Rectangle>("Rectangle1", {-1, 98, 457, 24},
                                       {{"FillColor", RGB(148, 148, 148)},
                                        {"BorderWidth", 0},
                                        {"TopLeftColor", RGB(184, 184, 184)},
                                        {"BottomRightColor", RGB(184, 184, 184)}}));
        c.push_back(Declare<StaticText>("Javatext3", {1, 101, 455, 20},
                                        {{"InitialParent", "Rectangle1"},
                                         {"Text", "Written in Java by Quennelby"},
                                         {"TextFont", kAppletFont},
                                         {"TextSize", 15}}));
        return c;
      }()};
  return declaration;
}

// Scan: only the space character goes, wherever it stands; the form stays open behind the
// status view with the cleaned texts, so the user can correct them and scan again.
void CustomScan::JavaButton1_Action() {
  const std::string host = ReplaceAll(Find<EditField>("Javahostname").Text(), " ", "");
  const std::string port = ReplaceAll(Find<EditField>("Javaport").Text(), " ", "");
  Find<EditField>("Javahostname").SetText(host);
  Find<EditField>("Javaport").SetText(port);
  Implicit<scanAVent>().SetVisible(true);
  Implicit<scanAVent>().ScanTarget(Find<EditField>("Javahostname").Text() + ":" +
                                   Find<EditField>("Javaport").Text());
}
