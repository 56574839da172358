// Controls that only draw: canvas with its backdrop picture, rectangles, separator line.
#pragma once

#include <string>

#include "RectControl.h"

class ShapeWidget;

class Canvas : public RectControl {
 public:
  Canvas(::Window& owner, std::string name);
  const char* ClassName() const override { return "Canvas"; }

  Picture* Backdrop() const { return backdrop_; }
  void SetBackdrop(Picture* picture);
  void SetPicture(Picture* picture) override { SetBackdrop(picture); }

 protected:
  bool ApplyProperty(const std::string& name, const PropertyValue& value) override;

 private:
  ShapeWidget* shape_ = nullptr;
  Picture* backdrop_ = nullptr;
};

class Rectangle : public RectControl {
 public:
  Rectangle(::Window& owner, std::string name);
  const char* ClassName() const override { return "Rectangle"; }

 protected:
  bool ApplyProperty(const std::string& name, const PropertyValue& value) override;

 private:
  ShapeWidget* shape_ = nullptr;
};

class RoundRectangle : public RectControl {
 public:
  RoundRectangle(::Window& owner, std::string name);
  const char* ClassName() const override { return "RoundRectangle"; }

 protected:
  bool ApplyProperty(const std::string& name, const PropertyValue& value) override;

 private:
  ShapeWidget* shape_ = nullptr;
};

class Separator : public RectControl {
 public:
  Separator(::Window& owner, std::string name);
  const char* ClassName() const override { return "Separator"; }
};
