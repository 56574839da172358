#include "ToolbarItem.h"

#include <QAction>
#include <QIcon>
#include <QImage>
#include <QMainWindow>
#include <QPixmap>

#include "Picture.h"
#include "Window.h"

ToolbarItem::ToolbarItem(::Window& owner, std::string name) : Control(owner, std::move(name)) {
  action_ = new QAction(owner.Widget());
  action_->setObjectName(QString::fromStdString(Name()));
  QObject::connect(action_, &QAction::triggered, action_,
                   [this] { Raise<PlainHandler>("Action"); });
  owner.AddToolbarAction(*this);
}

// The action belongs to the window's widget, which deletes it.
ToolbarItem::~ToolbarItem() = default;

void ToolbarItem::SetCaption(const std::string& caption) {
  caption_ = caption;
  action_->setText(QString::fromStdString(caption));
}

void ToolbarItem::SetEnabled(bool value) {
  enabled_ = value;
  action_->setEnabled(value);
}

void ToolbarItem::SetImage(Picture* picture) {
  image_ = picture;
  action_->setIcon(picture == nullptr ? QIcon() : QIcon(QPixmap::fromImage(picture->Shown())));
}

bool ToolbarItem::ApplyProperty(const std::string& name, const PropertyValue& value) {
  if (name == "Caption") {
    SetCaption(value.AsString(name));
  } else if (name == "Enabled") {
    SetEnabled(value.AsBoolean(name));
  } else if (name == "HelpTag") {
    helpTag_ = value.AsString(name);
    action_->setToolTip(QString::fromStdString(helpTag_));
  } else if (name == "HelpTagLong") {
    helpTagLong_ = value.AsString(name);
    action_->setStatusTip(QString::fromStdString(helpTagLong_));
  } else if (name == "TabPanelIndex") {
    // The toolbar lies on no page panel.
    RequireUsual(name, value, 0);
  } else {
    return Control::ApplyProperty(name, value);
  }
  return true;
}

std::optional<std::size_t> ToolbarItem::EventSignature(const std::string& event) const {
  if (event == "Action") return kSignature<PlainHandler>;
  return std::nullopt;
}
