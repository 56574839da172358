#include "PagePanel.h"

#include <QWidget>

#include "Window.h"

PagePanel::PagePanel(::Window& owner, std::string name) : RectControl(owner, std::move(name)) {
  AttachWidget(new QWidget(owner.Content()));
}

void PagePanel::SetValue(int page) {
  value_ = page;
  Window().RefreshControlVisibility();
}

bool PagePanel::ApplyProperty(const std::string& name, const PropertyValue& value) {
  if (name == "Value") {
    SetValue(value.AsInteger(name));
  } else if (name == "PanelCount") {
    panelCount_ = value.AsInteger(name);
  } else {
    return RectControl::ApplyProperty(name, value);
  }
  return true;
}
