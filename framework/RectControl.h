// A control with a place on its window: geometry, edge locks, container, visibility, enabling.
#pragma once

#include <string>

#include "Control.h"

class QWidget;
class QFont;

struct Geometry {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  friend bool operator==(const Geometry&, const Geometry&) = default;
};

class RectControl : public Control {
 public:
  RectControl(::Window& owner, std::string name);
  ~RectControl() override;

  int Left() const { return geometry_.left; }
  int Top() const { return geometry_.top; }
  int Width() const { return geometry_.width; }
  int Height() const { return geometry_.height; }
  void SetLeft(int value);
  void SetTop(int value);
  void SetWidth(int value);
  void SetHeight(int value);

  bool Visible() const { return visible_; }
  void SetVisible(bool value);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool value);
  // True while the control's window is the active window.
  bool Active() const;

  const std::string& HelpTag() const { return helpTag_; }
  const std::string& InitialParent() const { return initialParent_; }
  int TabPanelIndex() const { return tabPanelIndex_; }
  bool LockLeft() const { return lockLeft_; }
  bool LockTop() const { return lockTop_; }
  bool LockRight() const { return lockRight_; }
  bool LockBottom() const { return lockBottom_; }

  // Framework use: the toolkit widget, and the window's resize and visibility passes.
  QWidget* Widget() const { return widget_; }
  void WindowResized(int contentWidth, int contentHeight);
  // Shown when it and every container up the InitialParent chain are visible and on their page.
  bool EffectivelyShown() const;
  void UpdateShown();
  // Containers with pages (PagePanel) show only the children of their current page.
  virtual bool ShowsPage(int) const { return true; }

 protected:
  // Subclasses make their widget in their constructor and hand it over here.
  void AttachWidget(QWidget* widget);
  bool ApplyProperty(const std::string& name, const PropertyValue& value) override;
  // Font properties shared by the controls that show text; false when not a font property.
  bool ApplyTextStyle(const std::string& name, const PropertyValue& value);
  virtual void FontChanged(const QFont& font);
  // DataSource and DataField of the controls that could show a database field: there is no
  // database here, so only the usual empty texts are accepted.
  bool ApplyDataBinding(const std::string& name, const PropertyValue& value);

 private:
  void PlaceWidget();
  void Rebase();

  QWidget* widget_ = nullptr;
  Geometry geometry_;
  // The geometry and window size the locks measure from.
  Geometry base_;
  int baseWindowWidth_ = 0;
  int baseWindowHeight_ = 0;
  bool visible_ = true;
  bool enabled_ = true;
  bool lockLeft_ = false;
  bool lockTop_ = false;
  bool lockRight_ = false;
  bool lockBottom_ = false;
  std::string helpTag_;
  std::string initialParent_;
  int tabPanelIndex_ = 0;
  std::string textFont_ = "System";
  int textSize_ = 0;
  bool bold_ = false;
  bool italic_ = false;
  bool underline_ = false;
};
