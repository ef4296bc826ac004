#include "gui/ToolkitModule.h"

namespace {
void* module = nullptr;
} // namespace

void setToolkitModule(void* handle) {
    module = handle;
}

void* toolkitModule() {
    return module;
}
