#include "resources/resources.h"

#include <QtCore/qglobal.h>

// Q_INIT_RESOURCE names a function of the global namespace, so it must be
// used outside any namespace.
static void InitEmbeddedResources() { Q_INIT_RESOURCE(quillora); }

namespace quillora {

void InitQuilloraResources() { InitEmbeddedResources(); }

std::vector<EmbeddedIcon> ProgramIcons() {
  // The sizes the build paints and embeds (resources/CMakeLists.txt).
  static constexpr int kSizes[] = {QUILLORA_ICON_SIZES};
  std::vector<EmbeddedIcon> icons;
  for (const int size : kSizes) {
    icons.push_back(
        {":/quillora/icons/quillora_" + std::to_string(size) + ".png", size});
  }
  return icons;
}

}  // namespace quillora
