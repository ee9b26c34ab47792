#include "resources/resources.h"

#include <QtCore/qglobal.h>

// Q_INIT_RESOURCE names a function of the global namespace, so it must be
// used outside any namespace.
static void InitEmbeddedResources() { Q_INIT_RESOURCE(quillora); }

namespace quillora {

void InitQuilloraResources() { InitEmbeddedResources(); }

}  // namespace quillora
