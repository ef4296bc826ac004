#include "platform/library/DynamicLibrary.h"

#include <dlfcn.h>
#include <filesystem>
#include <system_error>
#include <utility>

namespace {

std::string lastLoaderError(const char* fallback) {
    const char* text = dlerror();
    return text ? std::string(text) : std::string(fallback);
}

} // namespace

DynamicLibrary::~DynamicLibrary() {
    close();
}

DynamicLibrary::DynamicLibrary(DynamicLibrary&& other) noexcept
    : handle(std::exchange(other.handle, nullptr)), error(std::move(other.error)) {}

DynamicLibrary& DynamicLibrary::operator=(DynamicLibrary&& other) noexcept {
    if (this != &other) {
        close();
        handle = std::exchange(other.handle, nullptr);
        error = std::move(other.error);
    }
    return *this;
}

bool DynamicLibrary::open(const std::string& path) {
    close();
    dlerror();
    // Bind every symbol now: a library with unresolved references fails here
    // with the loader's message instead of crashing at its first call.
    handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        error = lastLoaderError("the dynamic loader refused the library");
        return false;
    }
    error.clear();
    return true;
}

void DynamicLibrary::close() {
    if (handle) {
        dlclose(handle);
        handle = nullptr;
    }
}

void* DynamicLibrary::symbol(const char* name) {
    if (!handle) {
        error = "no library is open";
        return nullptr;
    }
    dlerror();
    void* address = dlsym(handle, name);
    if (!address) {
        error = lastLoaderError("symbol not found");
        return nullptr;
    }
    return address;
}

std::string executablePath() {
    std::error_code failure;
    std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", failure);
    return failure ? std::string() : self.string();
}
