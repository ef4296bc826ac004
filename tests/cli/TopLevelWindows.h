#pragma once
// What a test sees of another program's top-level window on the X server
// of DISPLAY, and what a window manager would send it. Kept apart from the
// test files, whose test framework's names clash with Xlib's macros.

#include <memory>
#include <sys/types.h>

class TopLevelWindows {
  public:
    // A connection to the display; connected() is false without one.
    TopLevelWindows();
    ~TopLevelWindows();
    TopLevelWindows(const TopLevelWindows&) = delete;
    TopLevelWindows& operator=(const TopLevelWindows&) = delete;

    bool connected() const;

    struct Placement {
        bool found = false;
        int x = 0; // the client area's corner on the screen
        int y = 0;
        int width = 0;
        int height = 0;
    };
    // The window that process `pid` has put on the screen (_NET_WM_PID).
    Placement windowOf(pid_t pid);
    // Sends that window the window manager's close request
    // (WM_DELETE_WINDOW); false when there is no such window.
    bool requestClose(pid_t pid);

  private:
    struct Connection;
    std::unique_ptr<Connection> connection;
};
