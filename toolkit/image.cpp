#include "toolkit/image.h"

#include <QImageReader>
#include <QPainter>
#include <stdexcept>

namespace quillora {

class TImage::PictureWidget : public QWidget {
 public:
  explicit PictureWidget(TImage& image) : image_(image) {}
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.drawImage(0, 0, image_.DecodedPicture());
  }

 private:
  TImage& image_;
};

TImage::TImage(TComponent* owner) : TControl(owner, new PictureWidget(*this)) {}

void TImage::LoadPicture(const std::string& source) {
  // Reads the header only.
  QImageReader reader(QString::fromStdString(source));
  if (!reader.canRead() || !reader.size().isValid()) {
    throw std::invalid_argument("cannot load the picture " + source);
  }
  pictureSource_ = source;
  picture_ = QImage();
  decoded_ = false;
  Widget()->update();
}

const QImage& TImage::Picture() const { return DecodedPicture(); }

QImage& TImage::DecodedPicture() const {
  if (!decoded_) {
    decoded_ = true;
    picture_ = QImage(QString::fromStdString(pictureSource_))
                   .convertToFormat(QImage::Format_RGB888);
  }
  return picture_;
}

void TImage::Repaint() { Widget()->repaint(); }

void TImage::PublishProperties(PropertyList& properties) {
  TControl::PublishProperties(properties);
  properties.AddText(
      "Picture", "", [this](const std::string& v) { LoadPicture(v); },
      [this] { return pictureSource_; });
}

void TCanvas::CopyRect(const TRect& destRect, const TCanvas& source,
                       const TRect& sourceRect) {
  QImage& target = image_.DecodedPicture();
  const QImage& from = source.image_.DecodedPicture();
  if (target.isNull() || from.isNull()) return;
  QPainter painter(&target);
  painter.setCompositionMode(QPainter::CompositionMode_Source);
  painter.drawImage(
      QRect(destRect.left, destRect.top, destRect.Width(), destRect.Height()),
      from,
      QRect(sourceRect.left, sourceRect.top, sourceRect.Width(),
            sourceRect.Height()));
}

}  // namespace quillora
