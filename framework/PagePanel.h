// A container of pages: each child shows only on the page its TabPanelIndex names. Pages are
// named from 1 (TabPanelIndex 1 is the page shown at Value 0); TabPanelIndex 0 is on no page.
#pragma once

#include <string>

#include "RectControl.h"

class PagePanel : public RectControl {
 public:
  PagePanel(::Window& owner, std::string name);
  const char* ClassName() const override { return "PagePanel"; }

  // The page shown, from 0.
  int Value() const { return value_; }
  void SetValue(int page);
  int PanelCount() const { return panelCount_; }
  bool ShowsPage(int tabPanelIndex) const override { return tabPanelIndex == value_ + 1; }

 protected:
  bool ApplyProperty(const std::string& name, const PropertyValue& value) override;

 private:
  int value_ = 0;
  int panelCount_ = 1;
};
