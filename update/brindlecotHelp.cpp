#include "update/brindlecotHelp.h"

#include "Hosts.h"

const WindowDeclaration& brindlecotHelp::Declaration() const {
  using W = brindlecotHelp;
  static const WindowDeclaration declaration{
      .properties = {{"Title", "Brindlecot Help"},
                     {"Width", 849},
                     {"Height", 498},
                     {"Placement", Placement::MainScreen},
                     // A utility window kept above the program's other windows.
                     {"Frame", Frame::Floating},
                     {"HasBackColor", true}},
      .controls = [] {
        std::vector<ControlDeclaration> c;
        // The page's top edge lies one pixel above the window's.
        c.push_back(
            Declare<HTMLViewer>(
                "helpviewer", {0, -1, 849, 473},
                {{"LockLeft", true}, {"LockTop", true}, {"LockRight", true}, {"LockBottom", true}})
                .On("DocumentProgressChanged", &W::helpviewer_DocumentProgressChanged)
                .On("DocumentComplete", &W::helpviewer_DocumentComplete)
                .On("Error", &W::helpviewer_Error));
        // The progress row in the bottom strip, hidden until the page reports progress.
        c.push_back(Declare<ProgressBar>(
            "ProgressBar1", {29, 474, 776, 21},
            {{"Visible", false}, {"LockLeft", true}, {"LockRight", true}, {"LockBottom", true}}));
        c.push_back(Declare<StaticText>("percentage", {810, 474, 38, 20},
                                        {{"Text", "0%"},
                                         {"Visible", false},
                                         {"TextAlign", TextAlign::Center},
                                         {"TextFont", "Arial"},
                                         {"TextSize", 12},
                                         {"LockRight", true},
                                         {"LockBottom", true}}));
        c.push_back(
            Declare<ProgressWheel>("ProgressWheel1", {7, 475, 16, 16},
                                   {{"Visible", false}, {"LockLeft", true}, {"LockBottom", true}}));
        return c;
      }()};
  return declaration;
}

// The program has no help pages of its own: the vendor's FAQ stands in, and the user is told.
void brindlecotHelp::Event_Open() {
  Find<HTMLViewer>("helpviewer").LoadURL(kFaqUrl);
  MsgBox(
      "Due to technical difficulties, our help system is offline. Please enjoy the Ventrilo help "
      "system instead.");
}

// Every report sets the whole row afresh, so reports and completions may come in any order.
void brindlecotHelp::helpviewer_DocumentProgressChanged(const std::string&, int percent) {
  Find<ProgressBar>("ProgressBar1").SetVisible(true);
  Find<ProgressWheel>("ProgressWheel1").SetVisible(true);
  Find<StaticText>("percentage").SetVisible(true);
  Find<ProgressBar>("ProgressBar1").SetMaximum(100);
  Find<ProgressBar>("ProgressBar1").SetValue(percent);
  Find<StaticText>("percentage").SetText(Str(percent) + "%");
}

// The bar and the label keep their last value while hidden.
void brindlecotHelp::helpviewer_DocumentComplete(const std::string&) {
  Find<ProgressBar>("ProgressBar1").SetVisible(false);
  Find<ProgressWheel>("ProgressWheel1").SetVisible(false);
  Find<StaticText>("percentage").SetVisible(false);
}

// No page at all (a page of any HTTP status is shown): without it the window has nothing to
// offer, and the offline message already said all there is to say.
void brindlecotHelp::helpviewer_Error(int, const std::string&) {
  Close();
}
