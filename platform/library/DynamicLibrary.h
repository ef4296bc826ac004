#pragma once
// A shared library loaded at run time: open it by path, look up symbols by
// name, and read a one-line reason when either fails. The only code that
// talks to the operating system's dynamic loader.

#include <string>

class DynamicLibrary {
  public:
    DynamicLibrary() = default;
    ~DynamicLibrary();
    DynamicLibrary(DynamicLibrary&& other) noexcept;
    DynamicLibrary& operator=(DynamicLibrary&& other) noexcept;
    DynamicLibrary(const DynamicLibrary&) = delete;
    DynamicLibrary& operator=(const DynamicLibrary&) = delete;

    // Loads the library at `path`, closing any library held before. On
    // failure returns false and errorText() says why.
    bool open(const std::string& path);
    // Unloads the library; harmless when none is open.
    void close();
    bool isOpen() const { return handle != nullptr; }

    // The address of the exported symbol `name`, or null (errorText() then
    // says why).
    void* symbol(const char* name);

    // The loader's reason for the last failure, one line without a newline.
    const std::string& errorText() const { return error; }

  private:
    void* handle = nullptr;
    std::string error;
};

// Full path of the running executable, or an empty string when unknown.
std::string executablePath();
