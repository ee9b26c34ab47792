#include "toolkit/image.h"

#include <QPainter>
#include <stdexcept>

namespace quillora {

class TImage::PictureWidget : public QWidget {
 public:
  explicit PictureWidget(TImage& image) : image_(image) {}
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.drawImage(0, 0, image_.picture_);
  }

 private:
  TImage& image_;
};

TImage::TImage(TComponent* owner) : TControl(owner, new PictureWidget(*this)) {}

void TImage::LoadPicture(const std::string& source) {
  QImage loaded(QString::fromStdString(source));
  if (loaded.isNull()) {
    throw std::invalid_argument("cannot load the picture " + source);
  }
  picture_ = loaded.convertToFormat(QImage::Format_RGB888);
  pictureSource_ = source;
  Widget()->update();
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
  QImage& target = image_.picture_;
  const QImage& from = source.image_.picture_;
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
