// TImage: a picture control holding a 24-bit bitmap, drawn unscaled from
// its top-left corner and clipped to the control.
#pragma once

#include <QImage>
#include <string>

#include "toolkit/control.h"

namespace quillora {

// A rectangle in pixels: left and top included, right and bottom excluded.
struct TRect {
  int left = 0, top = 0, right = 0, bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
};

class TImage;

// The pixels of a picture control.
class TCanvas {
 public:
  explicit TCanvas(TImage& image) : image_(image) {}
  // Copies `sourceRect` of `source` onto `destRect` of this canvas, pixel for
  // pixel (no blending; a size mismatch scales). Parts outside either
  // picture are left alone. The control repaints when asked (TImage::Repaint).
  void CopyRect(const TRect& destRect, const TCanvas& source,
                const TRect& sourceRect);

 private:
  TImage& image_;
};

class TImage : public TControl {
 public:
  explicit TImage(TComponent* owner);
  std::string_view ClassName() const override { return "TImage"; }

  // The picture: a Qt resource path or file of the picture to load, stored
  // in the layout; held as 24-bit RGB. LoadPicture checks at once that the
  // source is a picture it can read (and throws std::invalid_argument
  // otherwise) but decodes its pixels only when they are first needed, so
  // that pictures that are never shown cost nothing at start-up.
  const std::string& PictureSource() const { return pictureSource_; }
  void LoadPicture(const std::string& source);
  const QImage& Picture() const;

  TCanvas& Canvas() { return canvas_; }
  const TCanvas& Canvas() const { return canvas_; }

  // Repaints the control at once, not at the next idle moment.
  void Repaint();

  void PublishProperties(PropertyList& properties) override;

 private:
  friend class TCanvas;
  class PictureWidget;

  QImage& DecodedPicture() const;

  std::string pictureSource_;
  mutable QImage picture_;
  mutable bool decoded_ = true;
  TCanvas canvas_{*this};
};

}  // namespace quillora
