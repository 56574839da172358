// Pictures and drawing surfaces.
#pragma once

#include <cstddef>
#include <memory>

#include "Basics.h"

class QImage;
class QPainter;
class Graphics;

class Picture {
 public:
  // A new picture of the given size, filled white.
  Picture(int width, int height);
  ~Picture();
  Picture(const Picture&) = delete;
  Picture& operator=(const Picture&) = delete;

  // A picture read from an image file's bytes (PNG and the like), or nil when unreadable.
  static std::unique_ptr<Picture> FromBytes(const unsigned char* data, std::size_t size);

  int Width() const;
  int Height() const;
  // 1: white pixels are drawn transparent.
  int Transparent() const { return transparent_; }
  void SetTransparent(int value) { transparent_ = value; }
  // The picture's mask, the picture's size: black shows, white hides, greys blend. Made all
  // black (everything shown) on first use.
  Picture& Mask();
  bool HasMask() const { return mask_ != nullptr; }
  // A drawing surface on this picture.
  ::Graphics& Graphics();

  // Framework use: the pixels as stored, and as shown (transparency and mask applied).
  QImage& Image();
  const QImage& Image() const;
  QImage Shown() const;

 private:
  explicit Picture(QImage&& image);

  std::unique_ptr<QImage> image_;
  std::unique_ptr<Picture> mask_;
  std::unique_ptr<::Graphics> graphics_;
  int transparent_ = 0;
};

// The application's pictures by resource id.
class PictureResources {
 public:
  virtual ~PictureResources() = default;
  // The picture stored under `id`, or nil when there is none. Each call reads it anew.
  virtual std::unique_ptr<Picture> GetPicture(int id);
  // How many pictures GetPicture has read.
  int Loads() const { return loads_; }

 protected:
  int loads_ = 0;
};

// The program's resources, or nil when it has none. Tests may put others in their place
// (nullptr: the program has no resources); the default ones are the compiled-in pictures
// ":/pictures/<id>.png".
PictureResources* ApplicationResources();
void SetApplicationResources(PictureResources* resources);
void RestoreApplicationResources();

class Graphics {
 public:
  // Draws into a picture (each call paints and finishes).
  explicit Graphics(QImage& target);
  // Draws through a painter that the caller keeps open, on a surface of the given size whose
  // origin is the painter's origin (a list cell).
  Graphics(QPainter& painter, int width, int height);
  ~Graphics();
  Graphics(const Graphics&) = delete;
  Graphics& operator=(const Graphics&) = delete;

  Color ForeColor() const { return foreColor_; }
  void SetForeColor(Color color) { foreColor_ = color; }
  int Width() const { return width_; }
  int Height() const { return height_; }

  void FillRect(int x, int y, int width, int height);
  // A one-pixel line, both end points included.
  void DrawLine(int x1, int y1, int x2, int y2);
  // The whole picture, unscaled, with its top-left corner at (x, y).
  void DrawPicture(const Picture& picture, int x, int y);
  // The part of the picture starting at (sourceX, sourceY), of the given size.
  void DrawPicture(const Picture& picture, int x, int y, int width, int height, int sourceX,
                   int sourceY);

 private:
  template <class Paint>
  void WithPainter(Paint&& paint);

  QImage* target_ = nullptr;
  QPainter* painter_ = nullptr;
  int width_ = 0;
  int height_ = 0;
  Color foreColor_ = RGB(0, 0, 0);
};
