#include "tools/scanAVent.h"

#include "common/Directory.h"

namespace {
// The guard in firstLoad: the status page has not shown yet, it has, or the window is going.
constexpr const char* kNotYet = "NotYet";
constexpr const char* kShown = "done";
constexpr const char* kClosing = "closing";
constexpr const char* kStatusPageTitle = "Server Status - Ventrilo - Nanospy";
constexpr const char* kLeftThePage =
    "The website, or you, has attempted to click a link or redirect you to another page. "
    "Brindlecot will now close this window for your security.";
}  // namespace

const WindowDeclaration& scanAVent::Declaration() const {
  using W = scanAVent;
  static const WindowDeclaration declaration{
      .properties = {{"Title", "Brindlecot - Connecting..."},
                     {"Width", 764},
                     {"Height", 632},
                     {"MinWidth", 764},
                     {"MinHeight", 632},
                     {"Placement", Placement::ParentScreen}},
      .controls = [] {
        std::vector<ControlDeclaration> c;
        // The page's first 96 pixels lie above the window: they are never seen.
        c.push_back(
            Declare<HTMLViewer>(
                "ScannerWindow", {-1, -96, 765, 724},
                {{"LockLeft", true}, {"LockTop", true}, {"LockRight", true}, {"LockBottom", true}})
                .On("DocumentComplete", &W::ScannerWindow_DocumentComplete)
                .On("TitleChanged", &W::ScannerWindow_TitleChanged)
                .On("DocumentProgressChanged", &W::ScannerWindow_DocumentProgressChanged)
                .On("Error", &W::ScannerWindow_Error));
        c.push_back(Declare<StaticText>("firstLoad", {-92, 14, 79, 20}, {{"Text", kNotYet}}));
        c.push_back(Declare<RoundRectangle>(
            "loadingBackgroundTangle", {299, 194, 166, 147},
            {{"InitialParent", "ScannerWindow"}, {"LockLeft", true}, {"LockRight", true}}));
        c.push_back(Declare<ProgressWheel>("loadingSymbol", {366, 223, 33, 35},
                                           {{"InitialParent", "loadingBackgroundTangle"}}));
        c.push_back(Declare<ProgressBar>("ProgressBar1", {308, 293, 148, 20},
                                         {{"InitialParent", "loadingBackgroundTangle"}}));
        c.push_back(Declare<StaticText>("currentPercent", {308, 314, 148, 20},
                                        {{"Text", "Starting scanning engine..."},
                                         {"TextAlign", TextAlign::Center},
                                         {"TextFont", "Arial"},
                                         {"TextSize", 10},
                                         {"Bold", true},
                                         {"InitialParent", "loadingBackgroundTangle"}}));
        c.push_back(Declare<RoundRectangle>(
            "RoundRectangle1", {532, -55, 232, 89},
            {{"InitialParent", "ScannerWindow"}, {"LockTop", true}, {"LockRight", true}}));
        c.push_back(
            Declare<StaticText>("Warning", {551, 2, 204, 26},
                                {{"Text", "Loading bar not disappearing? Try scrolling the page."},
                                 {"Multiline", true},
                                 {"TextAlign", TextAlign::Center},
                                 {"TextFont", "Arial"},
                                 {"TextSize", 10},
                                 {"Bold", true},
                                 {"InitialParent", "RoundRectangle1"},
                                 {"LockTop", true},
                                 {"LockRight", true}}));
        return c;
      }()};
  return declaration;
}

void scanAVent::ScanTarget(const std::string& target) {
  Find<HTMLViewer>("ScannerWindow").LoadURL(StatusPageUrl(target));
}

void scanAVent::ScannerWindow_DocumentProgressChanged(const std::string&, int percent) {
  Find<ProgressBar>("ProgressBar1").SetValue(percent);
  Find<StaticText>("currentPercent").SetText(Str(percent) + "%");
}

void scanAVent::ScannerWindow_DocumentComplete(const std::string&) {
  SetTitle("Brindlecot - Server successfully scanned");
  for (const char* name :
       {"loadingSymbol", "ProgressBar1", "currentPercent", "loadingBackgroundTangle"}) {
    Find<RectControl>(name).SetVisible(false);
  }
}

void scanAVent::ScannerWindow_Error(int, const std::string&) {
  Find<StaticText>("currentPercent").SetText("Failed to scan server");
}

// Once the status page has shown, any other page (a link, a redirect) ends the window.
void scanAVent::ScannerWindow_TitleChanged(const std::string& newTitle) {
  if (newTitle == kStatusPageTitle) {
    Find<StaticText>("firstLoad").SetText(kShown);
  } else if (Find<StaticText>("firstLoad").Text() == kShown) {
    // The page keeps loading behind the message: its next titles must not ask again.
    Find<StaticText>("firstLoad").SetText(kClosing);
    MsgBox(kLeftThePage);
    Close();
  }
}
