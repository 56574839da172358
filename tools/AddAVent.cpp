#include "tools/AddAVent.h"

#include "Hosts.h"

namespace {
constexpr const char* kSubmittedTitle = "Google";
}  // namespace

const WindowDeclaration& AddAVent::Declaration() const {
  using W = AddAVent;
  static const WindowDeclaration declaration{
      .properties = {{"Title", "Add your Ventrilo server to Brindlecot"},
                     {"Width", 698},
                     {"Height", 416},
                     {"MinWidth", 616},
                     {"MinHeight", 389},
                     {"MaximizeButton", false}},
      .controls = [] {
        std::vector<ControlDeclaration> c;
        c.push_back(
            Declare<HTMLViewer>(
                "AddAVentPage", {0, 0, 698, 416},
                {{"LockLeft", true}, {"LockTop", true}, {"LockRight", true}, {"LockBottom", true}})
                .On("TitleChanged", &W::AddAVentPage_TitleChanged));
        // Ticks with nothing bound to it.
        c.push_back(Declare<Timer>("Timer1", {{"Mode", TimerMode::Multiple}, {"Period", 2000}}));
        return c;
      }()};
  return declaration;
}

void AddAVent::Event_Open() {
  Find<HTMLViewer>("AddAVentPage")
      .LoadURL(std::string("http://") + kFormHost + "/form/10314441287");
}

// Only the exact title counts: a page that merely mentions the word is still the form's. The
// form is done with at the first: the view is switched off, so that titles still coming while
// the message is up ask nothing more.
void AddAVent::AddAVentPage_TitleChanged(const std::string& newTitle) {
  if (newTitle == kSubmittedTitle && Find<HTMLViewer>("AddAVentPage").Enabled()) {
    Find<HTMLViewer>("AddAVentPage").SetEnabled(false);
    MsgBox("Thank you! Your vent was submitted and will be moderated in a few hours.");
    Close();
  }
}
