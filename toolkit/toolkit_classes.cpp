#include "toolkit/toolkit_classes.h"

#include "toolkit/check_box.h"
#include "toolkit/file_dialog.h"
#include "toolkit/gauge.h"
#include "toolkit/image.h"
#include "toolkit/label.h"
#include "toolkit/memo.h"
#include "toolkit/speed_button.h"
#include "toolkit/timer.h"

namespace quillora {

void RegisterToolkitClasses(ComponentRegistry& registry) {
  registry.Register<TImage>("TImage");
  registry.Register<TLabel>("TLabel");
  registry.Register<TSpeedButton>("TSpeedButton");
  registry.Register<TMemo>("TMemo");
  registry.Register<TEdit>("TEdit");
  registry.Register<TCheckBox>("TCheckBox");
  registry.Register<TTimer>("TTimer");
  registry.Register<TCGauge>("TCGauge");
  registry.Register<TOpenDialog>("TOpenDialog");
  registry.Register<TSaveDialog>("TSaveDialog");
}

}  // namespace quillora
