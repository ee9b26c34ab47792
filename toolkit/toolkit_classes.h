// Registers the toolkit's component classes under their layout names.
#pragma once

#include "components/component.h"

namespace quillora {

void RegisterToolkitClasses(ComponentRegistry& registry);

}  // namespace quillora
