#include "update/Sparkle.h"

#include "Hosts.h"
#include "common/Directory.h"
#include "directory/MainWindow.h"
#include "resources/Pictures.h"

namespace {
std::string NewestVersionUrl() {
  return DirectoryRoot() + "/files/sparkle/newestversion.txt";
}
std::string ReleaseNotesUrl() {
  return DirectoryRoot() + "/files/sparkle/rnotes.html";
}
constexpr Color kBorderGrey = RGB(148, 148, 148);
}  // namespace

const WindowDeclaration& Sparkle::Declaration() const {
  using W = Sparkle;
  static const WindowDeclaration declaration{
      .properties = {{"Title", "Software Update"},
                     {"Width", 626},
                     {"Height", 377},
                     {"MinWidth", 626},
                     {"MinHeight", 377}},
      .controls = [] {
        std::vector<ControlDeclaration> c;
        c.push_back(Declare<Rectangle>("Rectangle1", {100, 91, 507, 226},
                                       {{"FillColor", RGB(255, 255, 255)},
                                        {"BorderWidth", 1},
                                        {"TopLeftColor", kBorderGrey},
                                        {"BottomRightColor", kBorderGrey},
                                        {"LockLeft", true},
                                        {"LockTop", true},
                                        {"LockRight", true},
                                        {"LockBottom", true}}));
        // The notes fill the rectangle inside its one-pixel border.
        c.push_back(Declare<HTMLViewer>("releasenotesSparkle", {101, 92, 505, 224},
                                        {{"InitialParent", "Rectangle1"},
                                         {"LockLeft", true},
                                         {"LockTop", true},
                                         {"LockRight", true},
                                         {"LockBottom", true}}));
        c.push_back(Declare<Canvas>("Canvas1", {20, 14, 64, 66}).WithPicture(&sparkle1));
        c.push_back(Declare<StaticText>("StaticText1", {101, 20, 505, 20},
                                        {{"Text", "A new version of Brindlecot is available!"},
                                         {"Bold", true},
                                         {"LockLeft", true},
                                         {"LockRight", true}}));
        c.push_back(Declare<StaticText>("VersionUpdateInformationText", {101, 45, 505, 25},
                                        {{"Text", "Brindlecot "},
                                         {"Multiline", true},
                                         {"TextSize", 11},
                                         {"LockLeft", true},
                                         {"LockRight", true}}));
        c.push_back(Declare<StaticText>("StaticText3", {101, 72, 505, 16},
                                        {{"Text", "Release Notes:"},
                                         {"Bold", true},
                                         {"Multiline", true},
                                         {"TextSize", 11},
                                         {"LockLeft", true},
                                         {"LockRight", true}}));
        c.push_back(Declare<HTTPSocket>("SparkleSocket")
                        .On("PageReceived", &W::SparkleSocket_PageReceived));
        // Skipping a version is offered but never possible: the button has no handler.
        c.push_back(Declare<PushButton>(
            "PushButton1", {116, 337, 145, 20},
            {{"Caption", "Skip This Version"}, {"Enabled", false}, {"LockBottom", true}}));
        c.push_back(Declare<PushButton>(
                        "PushButton2", {348, 337, 135, 20},
                        {{"Caption", "Remind Me Later"}, {"LockRight", true}, {"LockBottom", true}})
                        .On("Action", &W::PushButton2_Action));
        c.push_back(Declare<PushButton>("PushButton3", {495, 337, 111, 20},
                                        {{"Caption", "Install Update"},
                                         {"Default", true},
                                         {"LockRight", true},
                                         {"LockBottom", true}})
                        .On("Action", &W::PushButton3_Action));
        c.push_back(Declare<StaticText>(
            "StaticText4", {511, 0, 115, 20},
            {{"Text", "This is NOT Sparkle!"}, {"TextFont", "Arial"}, {"TextSize", 12}}));
        return c;
      }()};
  return declaration;
}

// Each new window fetches both files afresh; the labels keep their declared texts until then.
void Sparkle::Event_Open() {
  Find<HTTPSocket>("SparkleSocket").Get(NewestVersionUrl());
  Find<HTMLViewer>("releasenotesSparkle").LoadURL(ReleaseNotesUrl());
}

// The answer is shown as the host sent it, whatever its status, line ends included; the
// running version's sentence follows at once.
void Sparkle::SparkleSocket_PageReceived(const std::string&, int, const InternetHeaders&,
                                         std::string content) {
  Find<StaticText>("VersionUpdateInformationText")
      .SetText(content + "-- you have " + Implicit<MainWindow>().VersionText() +
               ". Would you like to download it now?");
}

// Remind Me Later: nothing is kept; the next check makes a new window.
void Sparkle::PushButton2_Action() {
  Close();
}

// Install Update: the product site does the installing, so the program steps aside.
void Sparkle::PushButton3_Action() {
  ShowURL(std::string("http://") + kProductHost);
  Quit(0);
}
