#include "gui/ToolkitModule.h"

#include <atomic>

namespace {
// Every instance sets it as it is made, and hosts make instances on
// several threads at once; it is the same handle each time.
std::atomic<void*> module{nullptr};
} // namespace

void setToolkitModule(void* handle) {
    module.store(handle, std::memory_order_relaxed);
}

void* toolkitModule() {
    return module.load(std::memory_order_relaxed);
}
