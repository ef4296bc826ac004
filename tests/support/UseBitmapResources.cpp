// Every test program loads the editor's pictures from the embedded table,
// as the plug-in does once an instance is made.

#include "resources/ResourceTable.h"

namespace {
const bool installed = (resources::useEmbeddedBitmaps(), true);
} // namespace
