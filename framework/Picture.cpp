#include "Picture.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QString>
#include <algorithm>

namespace {

class CompiledResources : public PictureResources {};

CompiledResources& Compiled() {
  static CompiledResources resources;
  return resources;
}

PictureResources*& Current() {
  static PictureResources* current = &Compiled();
  return current;
}

QColor ToQColor(Color color) {
  return QColor(color.red, color.green, color.blue);
}

}  // namespace

// ---- Picture -------------------------------------------------------------------------------

Picture::Picture(int width, int height)
    : image_(std::make_unique<QImage>(std::max(1, width), std::max(1, height),
                                      QImage::Format_ARGB32)) {
  image_->fill(Qt::white);
}

Picture::Picture(QImage&& image)
    : image_(std::make_unique<QImage>(image.convertToFormat(QImage::Format_ARGB32))) {}

Picture::~Picture() = default;

std::unique_ptr<Picture> Picture::FromBytes(const unsigned char* data, std::size_t size) {
  QImage image;
  if (data == nullptr || !image.loadFromData(data, static_cast<int>(size))) return nullptr;
  return std::unique_ptr<Picture>(new Picture(std::move(image)));
}

int Picture::Width() const {
  return image_->width();
}
int Picture::Height() const {
  return image_->height();
}

Picture& Picture::Mask() {
  if (!mask_) {
    mask_ = std::make_unique<Picture>(Width(), Height());
    mask_->Image().fill(Qt::black);
  }
  return *mask_;
}

::Graphics& Picture::Graphics() {
  if (!graphics_) graphics_ = std::make_unique<::Graphics>(*image_);
  return *graphics_;
}

QImage& Picture::Image() {
  return *image_;
}
const QImage& Picture::Image() const {
  return *image_;
}

// Transparent 1 hides pure white; the mask's lightness hides the rest (white hides, black shows).
QImage Picture::Shown() const {
  QImage shown = image_->convertToFormat(QImage::Format_ARGB32);
  // The mask's lightness, one byte a pixel, read a line at a time.
  const QImage mask = mask_ ? mask_->Image().convertToFormat(QImage::Format_Grayscale8) : QImage();
  for (int y = 0; y < shown.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(shown.scanLine(y));
    const uchar* lightness = y < mask.height() ? mask.constScanLine(y) : nullptr;
    for (int x = 0; x < shown.width(); ++x) {
      int alpha = qAlpha(line[x]);
      if (transparent_ == 1 && (line[x] & 0x00FFFFFF) == 0x00FFFFFF) alpha = 0;
      if (lightness != nullptr && x < mask.width()) alpha = alpha * (255 - lightness[x]) / 255;
      line[x] = qRgba(qRed(line[x]), qGreen(line[x]), qBlue(line[x]), alpha);
    }
  }
  return shown;
}

// ---- resources -----------------------------------------------------------------------------

std::unique_ptr<Picture> PictureResources::GetPicture(int id) {
  QFile file(QString(":/pictures/%1.png").arg(id));
  if (!file.open(QIODevice::ReadOnly)) return nullptr;
  ++loads_;
  const QByteArray bytes = file.readAll();
  return Picture::FromBytes(reinterpret_cast<const unsigned char*>(bytes.constData()),
                            static_cast<std::size_t>(bytes.size()));
}

PictureResources* ApplicationResources() {
  return Current();
}

void SetApplicationResources(PictureResources* resources) {
  Current() = resources;
}

void RestoreApplicationResources() {
  Current() = &Compiled();
}

// ---- Graphics ------------------------------------------------------------------------------

Graphics::Graphics(QImage& target)
    : target_(&target), width_(target.width()), height_(target.height()) {}

Graphics::Graphics(QPainter& painter, int width, int height)
    : painter_(&painter), width_(width), height_(height) {}

Graphics::~Graphics() = default;

template <class Paint>
void Graphics::WithPainter(Paint&& paint) {
  if (painter_ != nullptr) {
    painter_->save();
    painter_->setRenderHint(QPainter::Antialiasing, false);
    paint(*painter_);
    painter_->restore();
    return;
  }
  QPainter painter(target_);
  paint(painter);
}

void Graphics::FillRect(int x, int y, int width, int height) {
  WithPainter([&](QPainter& p) { p.fillRect(x, y, width, height, ToQColor(foreColor_)); });
}

void Graphics::DrawLine(int x1, int y1, int x2, int y2) {
  WithPainter([&](QPainter& p) {
    // A cosmetic pen is one device pixel wide, which on a scaled screen leaves the rest of each
    // pixel unpainted: straight lines are filled as the pixels they cross instead.
    if (x1 == x2 || y1 == y2) {
      p.fillRect(QRect(QPoint(std::min(x1, x2), std::min(y1, y2)),
                       QPoint(std::max(x1, x2), std::max(y1, y2))),
                 ToQColor(foreColor_));
      return;
    }
    p.setPen(QPen(ToQColor(foreColor_), 0));
    p.drawLine(x1, y1, x2, y2);
  });
}

void Graphics::DrawPicture(const Picture& picture, int x, int y) {
  WithPainter([&](QPainter& p) { p.drawImage(x, y, picture.Shown()); });
}

void Graphics::DrawPicture(const Picture& picture, int x, int y, int width, int height, int sourceX,
                           int sourceY) {
  WithPainter([&](QPainter& p) {
    p.drawImage(QRect(x, y, width, height), picture.Shown(),
                QRect(sourceX, sourceY, width, height));
  });
}
