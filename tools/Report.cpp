#include "tools/Report.h"

#include "Hosts.h"
#include "directory/MainWindow.h"
#include "resources/Pictures.h"

namespace {
constexpr const char* kPlaceholder = "Please enter the report details here";
}  // namespace

const WindowDeclaration& Report::Declaration() const {
  using W = Report;
  static const WindowDeclaration declaration{
      .properties = {{"Title", "Report"},
                     {"Width", 424},
                     {"Height", 194},
                     {"Frame", Frame::Sheet},
                     {"Resizeable", false},
                     {"MaximizeButton", false},
                     {"Composite", false}},
      .controls = [] {
        std::vector<ControlDeclaration> c;
        // The picture runs past the left and bottom edges: only its right part shows.
        c.push_back(Declare<Canvas>("Canvas1", {-65, 0, 137, 207}).WithPicture(&ReportBroken));
        c.push_back(
            Declare<StaticText>("StaticText1", {75, 6, 343, 20},
                                {{"Text", "Report a bad Ventrilo server (Via Google Report)"},
                                 {"TextFont", "Arial"},
                                 {"Bold", true}}));
        c.push_back(
            Declare<EditField>("EditField1", {75, 53, 344, 89},
                               {{"Text", kPlaceholder}, {"Multiline", true}, {"TextFont", "Arial"}})
                .On("MouseDown", &W::EditField1_MouseDown));
        c.push_back(Declare<EditField>("ventName", {131, 27, 287, 22},
                                       {{"ReadOnly", true}, {"TextFont", "Arial"}}));
        c.push_back(Declare<StaticText>("StaticText2", {79, 28, 52, 20},
                                        {{"Text", "About:"}, {"TextFont", "Arial"}}));
        c.push_back(Declare<PushButton>("PushButton1", {238, 158, 72, 16}, {{"Caption", "Cancel"}})
                        .On("Action", &W::PushButton1_Action));
        c.push_back(Declare<PushButton>("PushButton2", {322, 158, 96, 16},
                                        {{"Caption", "Send Report"}, {"Default", true}})
                        .On("Action", &W::PushButton2_Action));
        c.push_back(Declare<HTTPSocket>("Tembrel1")
                        .On("Error", &W::Tembrel1_Error)
                        .On("PageReceived", &W::Tembrel1_PageReceived));
        c.push_back(
            Declare<Canvas>("Canvas2", {75, 146, 151, 48}).WithPicture(&logopoweredbygoogle));
        return c;
      }()};
  return declaration;
}

void Report::Event_Open() {
  Find<EditField>("ventName").SetText("Brindlecot: " + Implicit<MainWindow>().ChosenServerName());
}

// Only a click clears the placeholder; the click then goes on to place the caret.
bool Report::EditField1_MouseDown(int, int) {
  if (Find<EditField>("EditField1").Text() == kPlaceholder) {
    Find<EditField>("EditField1").SetText("");
  }
  return false;
}

// Cancel.
void Report::PushButton1_Action() {
  Close();
}

// Send Report: one request for the probe site's root page, carrying nothing of the report.
void Report::PushButton2_Action() {
  Find<HTTPSocket>("Tembrel1").Get(std::string("http://") + kProbeHost);
}

// Any answer, whatever its status, means the site could be reached.
void Report::Tembrel1_PageReceived(const std::string&, int, const InternetHeaders&, std::string) {
  Close();
}

void Report::Tembrel1_Error(int) {
  MsgBox("Failed to send, no internet connection");
  Close();
}
