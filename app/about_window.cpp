#include "app/about_window.h"

#include <stdexcept>
#include <string>

#include "app/desktop_targets.h"
#include "toolkit/desktop_services.h"

namespace quillora {

TForm2::TForm2(TComponent* owner, const ComponentRegistry& registry,
               const char* layoutPath)
    : TForm(owner) {
  LoadFromResource(layoutPath, registry);
  Image1 = Bind<TImage>("Image1");
  Label3 = Bind<TLabel>("Label3");
  SpeedButton1 = Bind<TSpeedButton>("SpeedButton1");
  SpeedButton2 = Bind<TSpeedButton>("SpeedButton2");
  SpeedButton3 = Bind<TSpeedButton>("SpeedButton3");
  SpeedButton4 = Bind<TSpeedButton>("SpeedButton4");

  auto notify = [this](void (TForm2::*handler)(TComponent&)) {
    return [this, handler](TComponent& sender) { (this->*handler)(sender); };
  };
  OnShow = notify(&TForm2::FormShow);
  Image1->OnMouseDown = [this](TComponent& sender, MouseButton button, int x,
                               int y) {
    Image1MouseDown(sender, button, x, y);
  };
  SpeedButton1->OnClick = notify(&TForm2::SpeedButton1Click);
  SpeedButton2->OnClick = notify(&TForm2::SpeedButton2Click);
  SpeedButton3->OnClick = notify(&TForm2::SpeedButton3Click);
  SpeedButton4->OnClick = notify(&TForm2::SpeedButton4Click);
}

template <typename T>
T* TForm2::Bind(std::string_view name) {
  T* control = dynamic_cast<T*>(FindComponent(name));
  if (!control) {
    throw std::runtime_error("The about window's layout has no control " +
                             std::string(name) + " of the expected class");
  }
  return control;
}

void TForm2::FormShow(TComponent&) {
  SetClientSize(Image1->Width(), Image1->Height());
}

void TForm2::Image1MouseDown(TComponent&, MouseButton, int, int) {
  StartWindowDrag();
}

void TForm2::SpeedButton1Click(TComponent&) { Close(); }

void TForm2::SpeedButton2Click(TComponent&) {
  Desktop().Open(std::string(kMakerWebSite));
}

void TForm2::SpeedButton3Click(TComponent&) {
  Desktop().Open(std::string(kSupportMail));
}

void TForm2::SpeedButton4Click(TComponent&) {
  Desktop().Open(std::string(kMelodyCollection));
}

}  // namespace quillora
