#pragma once
// A plug-in's editor driven the way a host drives it, one opcode at a
// time: the rectangle (13), opening (14), idle (19) and closing (15). The
// parent is a top-level window of the validator's own, or none. The driver
// keeps a host's discipline, so a call list cut down by shrinking never
// idles or closes an editor that is not open, nor opens one twice.

#include "platform/HostWindow.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

class PluginHost;

class EditorDriver {
  public:
    // Sides longer than this are not a rectangle a screen can show.
    static constexpr std::int32_t LongestSide = 16384;

    explicit EditorDriver(PluginHost& host);
    // Closes the editor if it is still open, then the window.
    ~EditorDriver();
    EditorDriver(const EditorDriver&) = delete;
    EditorDriver& operator=(const EditorDriver&) = delete;

    // Sends one of the editor opcodes, opening in a host window or with no
    // parent; the broken rule, as "rule: details".
    std::optional<std::string> perform(std::int32_t opcode, bool inWindow);
    // What a passing run saw: the rectangle, and a refusal to open without
    // a parent.
    std::string summary() const;

  private:
    std::optional<std::string> rectangle();
    std::optional<std::string> open(bool inWindow);
    void idle();
    void close();

    PluginHost& host;
    std::unique_ptr<platform::HostWindow> window;
    bool editorOpen = false;
    bool refused = false;
    std::int32_t width = 0;
    std::int32_t height = 0;
};

// Why no host window can be opened here (no display, no window system in
// this build), or empty when one can.
std::string hostWindowUnavailable();
