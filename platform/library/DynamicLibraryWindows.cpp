#include "platform/library/DynamicLibrary.h"

#include <utility>
#include <windows.h>

namespace {

std::string systemMessage(DWORD code) {
    char buffer[512] = {};
    DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                  nullptr, code, 0, buffer, sizeof buffer - 1, nullptr);
    std::string text(buffer, length);
    // Some messages name their subject as an insert, which is not filled in.
    for (std::size_t at = text.find("%1"); at != std::string::npos; at = text.find("%1"))
        text.replace(at, 2, "the file");
    // The system's messages end with a line break and often a full stop.
    while (!text.empty() &&
           (text.back() == '\n' || text.back() == '\r' || text.back() == ' ' || text.back() == '.'))
        text.pop_back();
    if (text.empty())
        text = "system error";
    return text + " (error " + std::to_string(code) + ")";
}

HMODULE moduleOf(void* handle) {
    return static_cast<HMODULE>(handle);
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
    // No message boxes: a library that fails to load is reported, not shown.
    UINT previousMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    // With an absolute path the library's own folder is searched for its
    // dependencies, as hosts do.
    handle = LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    DWORD code = GetLastError();
    SetErrorMode(previousMode);
    if (!handle) {
        error = systemMessage(code);
        return false;
    }
    error.clear();
    return true;
}

void DynamicLibrary::close() {
    if (handle) {
        FreeLibrary(moduleOf(handle));
        handle = nullptr;
    }
}

void* DynamicLibrary::symbol(const char* name) {
    if (!handle) {
        error = "no library is open";
        return nullptr;
    }
    FARPROC address = GetProcAddress(moduleOf(handle), name);
    if (!address) {
        error = systemMessage(GetLastError());
        return nullptr;
    }
    return reinterpret_cast<void*>(address);
}

std::string executablePath() {
    char buffer[4096] = {};
    DWORD length = GetModuleFileNameA(nullptr, buffer, sizeof buffer);
    if (length == 0 || length >= sizeof buffer)
        return std::string();
    return std::string(buffer, length);
}
