#include "update/aboutWindow.h"

#include "directory/MainWindow.h"
#include "resources/Pictures.h"

namespace {

// Lines joined by CR, an empty line between paragraphs; the first line keeps its last blank.
const char* const kCredits =
    "Brindlecot is the free software for use by anybody that requires a Ventrilo server "
    "short-term. \r"
    "\r"
    "Send your Ventrilo server to vents@example.com\r"
    "\r"
    "In some cases, your server may be submitted by somebody else without your permission, "
    "please email me at the adress above to request removal.\r"
    "\r"
    "Please email me if a vent server is no longer working or is now password protected.\r"
    "\r"
    "This Brindlecot database is maintained by Mollivan but is powered by the gamer community. "
    "For more information, please send me an email.\r"
    "\r"
    "-----\r"
    "Icons by IconFactory\r"
    "\r"
    "Ventrilo by Flagship Industries\r"
    "\r"
    "ZavovaruVuzozed by Ferrowin";

}  // namespace

const WindowDeclaration& aboutWindow::Declaration() const {
  static const WindowDeclaration declaration{
      .properties = {{"Title", "About Brindlecot"},
                     {"Width", 300},
                     {"Height", 348},
                     {"Placement", Placement::MainScreen},
                     {"Resizeable", false},
                     {"MaximizeButton", false},
                     {"MinimizeButton", false}},
      .controls = [] {
        std::vector<ControlDeclaration> c;
        c.push_back(Declare<Canvas>("Canvas1", {69, 14, 162, 157}).WithPicture(&brindlecot));
        // Both labels are written at Open; their declared texts are never seen.
        c.push_back(Declare<StaticText>("StaticText1", {-1, 171, 302, 20},
                                        {{"Text", "brindlecot.title"},
                                         {"TextFont", "Arial"},
                                         {"Bold", true},
                                         {"TextAlign", TextAlign::Center}}));
        c.push_back(Declare<StaticText>("StaticText2", {-1, 189, 302, 28},
                                        {{"Text", "Version 1.0.8 beta\rBy Mollivan"},
                                         {"TextFont", "Arial"},
                                         {"TextAlign", TextAlign::Center},
                                         {"Multiline", true}}));
        c.push_back(Declare<EditField>("EditField1", {0, 225, 301, 123},
                                       {{"Text", kCredits},
                                        {"ReadOnly", true},
                                        {"Multiline", true},
                                        {"Alignment", FieldAlign::Center},
                                        {"UseFocusRing", false},
                                        {"TextFont", "Arial"}}));
        return c;
      }()};
  return declaration;
}

void aboutWindow::Event_Open() {
  Find<StaticText>("StaticText1").SetText("Brindlecot for Mac");
  Find<StaticText>("StaticText2")
      .SetText("Version " + Implicit<MainWindow>().VersionText() + EndOfLine() + "By: Quennelby");
}
