// A container of pages: each child shows only on the page its TabPanelIndex names.
#pragma once

#include <string>

#include "RectControl.h"

class PagePanel : public RectControl {
 public:
  PagePanel(::Window& owner, std::string name);
  const char* ClassName() const override { return "PagePanel"; }

  // The page shown (0-based).
  int Value() const { return value_; }
  void SetValue(int page);
  int PanelCount() const { return panelCount_; }
  bool ShowsPage(int index) const override { return index == value_; }

 protected:
  bool ApplyProperty(const std::string& name, const PropertyValue& value) override;

 private:
  int value_ = 0;
  int panelCount_ = 1;
};
