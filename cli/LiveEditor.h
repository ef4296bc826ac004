#pragma once
// A plug-in's editor in a real window of this program's own, opened the way
// a host opens it: the rectangle (opcode 13), a top-level window of that
// size, opening with the window's native handle (14), idle (19) and
// closing (15). Whether the editor has painted is read back from the
// screen: the window's own fill gives way to the editor's pixels.

#include "platform/HostWindow.h"

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>

class PluginHost;

class LiveEditor {
  public:
    // Asks for the rectangle and shows the window; the editor is opened by
    // open(). A CommandError when the plug-in has no editor or there is no
    // window system to show it on.
    LiveEditor(PluginHost& host, const std::string& title);
    // Closes the editor if it is open, then the window.
    ~LiveEditor();
    LiveEditor(const LiveEditor&) = delete;
    LiveEditor& operator=(const LiveEditor&) = delete;

    void open();
    void close();
    bool isOpen() const { return editorOpen; }
    void idle();

    // Handles the window's events for up to `milliseconds`; false once the
    // user has closed the window.
    bool pump(std::int32_t milliseconds) { return hostWindow->pumpEvents(milliseconds); }
    // True when any of a few points spread over the client area shows
    // something other than the window's own fill.
    bool showsPaint() const;
    // True when all of them show the fill.
    bool showsFill() const;
    // Gives the editor idle time and handles events until it shows its
    // paint; false when it has not within `timeout`.
    bool waitForPaint(std::chrono::milliseconds timeout);
    // Handles events until the window shows only its fill again (after
    // close); false when it does not within `timeout`.
    bool waitForFill(std::chrono::milliseconds timeout);

    // What the window's client area shows on the screen, the editor's
    // pixels included; false when it cannot be read.
    bool readScreen(platform::ScreenPicture& picture) const {
        return hostWindow->readClientArea(picture);
    }

    std::int32_t width() const { return editorWidth; }
    std::int32_t height() const { return editorHeight; }
    platform::IntPoint origin() const { return hostWindow->clientOrigin(); }

  private:
    PluginHost& host;
    std::unique_ptr<platform::HostWindow> hostWindow;
    std::int32_t editorWidth = 0;
    std::int32_t editorHeight = 0;
    bool editorOpen = false;
};

// The name to call a plug-in by: the name it gives itself (opcode 45), else
// its product name (48), else its file name without the extension.
std::string pluginDisplayName(PluginHost& host);
