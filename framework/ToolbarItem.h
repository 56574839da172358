// An item of its window's toolbar: caption, picture, enabled state, event Action.
#pragma once

#include <string>

#include "Control.h"

class QAction;

class ToolbarItem : public Control {
 public:
  ToolbarItem(::Window& owner, std::string name);
  ~ToolbarItem() override;
  const char* ClassName() const override { return "ToolbarItem"; }

  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool value);
  Picture* Image() const { return image_; }
  void SetImage(Picture* picture);
  void SetPicture(Picture* picture) override { SetImage(picture); }

  QAction* Action() const { return action_; }

 protected:
  bool ApplyProperty(const std::string& name, const PropertyValue& value) override;
  std::optional<std::size_t> EventSignature(const std::string& event) const override;

 private:
  QAction* action_ = nullptr;
  std::string caption_;
  std::string helpTag_;
  std::string helpTagLong_;
  bool enabled_ = true;
  Picture* image_ = nullptr;
};
