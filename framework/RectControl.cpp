#include "RectControl.h"

#include <QApplication>
#include <QFont>
#include <QWidget>

#include "Window.h"

RectControl::RectControl(::Window& owner, std::string name) : Control(owner, std::move(name)) {}

// The widget belongs to the window's widget tree, which deletes it.
RectControl::~RectControl() = default;

void RectControl::AttachWidget(QWidget* widget) {
  widget_ = widget;
  widget_->setObjectName(QString::fromStdString(Name()));
  widget_->setAccessibleName(QString::fromStdString(Name()));
  Rebase();
  PlaceWidget();
}

void RectControl::SetLeft(int value) {
  geometry_.left = value;
  Rebase();
  PlaceWidget();
}

void RectControl::SetTop(int value) {
  geometry_.top = value;
  Rebase();
  PlaceWidget();
}

void RectControl::SetWidth(int value) {
  geometry_.width = value;
  Rebase();
  PlaceWidget();
}

void RectControl::SetHeight(int value) {
  geometry_.height = value;
  Rebase();
  PlaceWidget();
}

void RectControl::SetVisible(bool value) {
  visible_ = value;
  Window().RefreshControlVisibility();
}

void RectControl::SetEnabled(bool value) {
  enabled_ = value;
  if (widget_ != nullptr) widget_->setEnabled(value);
}

bool RectControl::Active() const {
  return widget_ != nullptr && widget_->isActiveWindow();
}

void RectControl::Rebase() {
  base_ = geometry_;
  baseWindowWidth_ = Window().ContentWidth();
  baseWindowHeight_ = Window().ContentHeight();
}

void RectControl::PlaceWidget() {
  if (widget_ == nullptr) return;
  widget_->setGeometry(geometry_.left, geometry_.top, std::max(0, geometry_.width),
                       std::max(0, geometry_.height));
}

// An edge locked to the window keeps its distance to that window edge; a control locked on both
// sides stretches. Measured from the geometry the control had when it was last placed by code.
void RectControl::WindowResized(int contentWidth, int contentHeight) {
  const int dx = contentWidth - baseWindowWidth_;
  const int dy = contentHeight - baseWindowHeight_;
  geometry_ = base_;
  if (lockRight_) {
    if (lockLeft_) {
      geometry_.width += dx;
    } else {
      geometry_.left += dx;
    }
  }
  if (lockBottom_) {
    if (lockTop_) {
      geometry_.height += dy;
    } else {
      geometry_.top += dy;
    }
  }
  PlaceWidget();
}

bool RectControl::EffectivelyShown() const {
  if (!visible_) return false;
  if (initialParent_.empty()) return true;
  const auto* container = dynamic_cast<const RectControl*>(Window().ControlByName(initialParent_));
  if (container == nullptr) return true;
  return container->ShowsPage(tabPanelIndex_) && container->EffectivelyShown();
}

void RectControl::UpdateShown() {
  if (widget_ != nullptr) widget_->setVisible(EffectivelyShown());
}

bool RectControl::ApplyProperty(const std::string& name, const PropertyValue& value) {
  if (name == "Left") {
    SetLeft(value.AsInteger(name));
  } else if (name == "Top") {
    SetTop(value.AsInteger(name));
  } else if (name == "Width") {
    SetWidth(value.AsInteger(name));
  } else if (name == "Height") {
    SetHeight(value.AsInteger(name));
  } else if (name == "LockLeft") {
    lockLeft_ = value.AsBoolean(name);
  } else if (name == "LockTop") {
    lockTop_ = value.AsBoolean(name);
  } else if (name == "LockRight") {
    lockRight_ = value.AsBoolean(name);
  } else if (name == "LockBottom") {
    lockBottom_ = value.AsBoolean(name);
  } else if (name == "InitialParent") {
    initialParent_ = value.AsString(name);
    Window().RefreshControlVisibility();
  } else if (name == "TabPanelIndex") {
    tabPanelIndex_ = value.AsInteger(name);
    Window().RefreshControlVisibility();
  } else if (name == "Visible") {
    SetVisible(value.AsBoolean(name));
  } else if (name == "Enabled") {
    SetEnabled(value.AsBoolean(name));
  } else if (name == "AutoDeactivate") {
    // Controls here never dim with an inactive window, so both values look the same.
    value.AsBoolean(name);
  } else if (name == "HelpTag") {
    helpTag_ = value.AsString(name);
    if (widget_ != nullptr) widget_->setToolTip(QString::fromStdString(helpTag_));
  } else {
    return Control::ApplyProperty(name, value);
  }
  return true;
}

namespace {
// The declared face first, then faces drawn to the same measures where it is missing (Debian's
// Liberation and Croscore fonts are metric twins of Arial and Times New Roman), so declared
// texts keep fitting the boxes they were laid out for.
QStringList FamiliesFor(const std::string& declared) {
  QStringList families{QString::fromStdString(declared)};
  if (declared == "Arial" || declared == "Helvetica") {
    families << "Liberation Sans"
             << "Arimo"
             << "Nimbus Sans";
  } else if (declared == "Times New Roman" || declared == "Times") {
    families << "Liberation Serif"
             << "Tinos"
             << "Nimbus Roman";
  }
  return families;
}
}  // namespace

bool RectControl::ApplyTextStyle(const std::string& name, const PropertyValue& value) {
  if (name == "TextFont") {
    textFont_ = value.AsString(name);
  } else if (name == "TextSize") {
    textSize_ = value.AsInteger(name);
  } else if (name == "Bold") {
    bold_ = value.AsBoolean(name);
  } else if (name == "Italic") {
    italic_ = value.AsBoolean(name);
  } else if (name == "Underline") {
    underline_ = value.AsBoolean(name);
  } else {
    return false;
  }
  // "System" and size 0 are the toolkit's standard font and size; other names are passed on as
  // declared and the toolkit falls back to a similar face.
  QFont font = QApplication::font();
  if (textFont_ != "System") font.setFamilies(FamiliesFor(textFont_));
  if (textSize_ > 0) font.setPixelSize(textSize_);
  font.setBold(bold_);
  font.setItalic(italic_);
  font.setUnderline(underline_);
  FontChanged(font);
  return true;
}

void RectControl::FontChanged(const QFont& font) {
  if (widget_ != nullptr) widget_->setFont(font);
}

bool RectControl::ApplyDataBinding(const std::string& name, const PropertyValue& value) {
  // There is no database to bind a control to.
  if (name == "DataSource" || name == "DataField") {
    RequireUsual(name, value, "");
  } else {
    return false;
  }
  return true;
}
