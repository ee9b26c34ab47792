// TForm2, the about window: the product's title and version over a picture
// with three links and an OK face.
//
// The main window creates a fresh TForm2 for each showing, shows it modally
// and destroys it when it closes. The link buttons hand their addresses to
// the desktop (toolkit/desktop_services.h) and leave the window open.
#pragma once

#include <string_view>

#include "toolkit/form.h"
#include "toolkit/image.h"
#include "toolkit/label.h"
#include "toolkit/speed_button.h"

namespace quillora {

class TForm2 : public TForm {
 public:
  // Creates the window from the stored layout `layoutPath` (a Qt resource
  // path by default) with the classes of `registry`.
  explicit TForm2(
      TComponent* owner, const ComponentRegistry& registry,
      const char* layoutPath = ":/quillora/layouts/about_window.layout");

  std::string_view ClassName() const override { return "TForm2"; }

  // Controls, in the order the layout lays them.
  TImage* Image1;
  TLabel* Label3;
  TSpeedButton* SpeedButton1;
  TSpeedButton* SpeedButton2;
  TSpeedButton* SpeedButton3;
  TSpeedButton* SpeedButton4;

  void FormShow(TComponent& Sender);
  void Image1MouseDown(TComponent& Sender, MouseButton Button, int X, int Y);
  // OK.
  void SpeedButton1Click(TComponent& Sender);
  // The maker's web site, the support mail address, the melody collection.
  void SpeedButton2Click(TComponent& Sender);
  void SpeedButton3Click(TComponent& Sender);
  void SpeedButton4Click(TComponent& Sender);

 private:
  template <typename T>
  T* Bind(std::string_view name);
};

}  // namespace quillora
