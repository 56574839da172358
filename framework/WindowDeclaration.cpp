#include "WindowDeclaration.h"

ControlDeclaration::ControlDeclaration(Factory factory, std::string name,
                                       std::optional<Geometry> geometry, PropertyList properties)
    : factory_(factory),
      name_(std::move(name)),
      geometry_(geometry),
      properties_(std::move(properties)) {}

ControlDeclaration&& ControlDeclaration::WithPicture(PictureAccessor accessor) && {
  picture_ = accessor;
  return std::move(*this);
}

ControlDeclaration ControlDeclaration::WithProperties(PropertyList properties) const {
  ControlDeclaration copy = *this;
  copy.geometry_.reset();
  copy.properties_ = std::move(properties);
  return copy;
}

PropertyList ControlDeclaration::AllProperties() const {
  PropertyList all;
  if (geometry_) {
    all.emplace_back("Left", geometry_->left);
    all.emplace_back("Top", geometry_->top);
    all.emplace_back("Width", geometry_->width);
    all.emplace_back("Height", geometry_->height);
  }
  all.insert(all.end(), properties_.begin(), properties_.end());
  return all;
}
