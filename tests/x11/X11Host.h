#pragma once
// A host for the built plug-in on a real X server: it loads Varnex.so
// through its exported `main`, gives the editor a top-level window made
// with Xlib, calls the editor opcodes on the test's thread, and plays the
// user with XTest from a second thread that has its own connection. What
// the plug-in asks of the host is counted, so that tests can wait for it.

#include "host/EffectRecord.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

using namespace std::chrono_literals;

// Xlib's names without its header, whose macros (None, Bool, Status, ...)
// would clash with the test framework's.
typedef struct _XDisplay Display;
using WindowId = unsigned long; // an XID
constexpr unsigned int LeftButton = 1;
constexpr unsigned int RightButton = 3;

Display* openConnection(const std::string& displayName);
void closeConnection(Display* display);
bool serverHasExtension(Display* display, const char* name);
// The window's name (WM_NAME), empty when it has none.
std::string windowTitle(Display* display, WindowId window);
// Asks the server, on this connection, to expose the whole of a window
// (of any client), and waits until it has sent the exposure.
void exposeWindow(Display* display, WindowId window);
// Waits until the server has sent every client all that the requests made
// so far on this connection gave them.
void waitUntilSent(Display* display);

// Counts X errors that reach the process's error handler, in place of
// whatever handler was there; `restore` puts that one back and says
// whether the counting handler was still the installed one.
class HostErrorHandler {
  public:
    HostErrorHandler();
    bool restore();
    static int errors();
};

// Waits until `done` holds, checking every 2 ms, for at most `limit`.
bool waitFor(const std::function<bool()>& done, std::chrono::milliseconds limit = 5s);

// One instance of the plug-in, made through `main` of the loaded binary.
class PluginInstance {
  public:
    PluginInstance();
    ~PluginInstance();
    PluginInstance(const PluginInstance&) = delete;
    PluginInstance& operator=(const PluginInstance&) = delete;

    IntPtr dispatch(std::int32_t opcode, std::int32_t index = 0, IntPtr value = 0,
                    void* ptr = nullptr, float opt = 0.0f);
    float parameter(std::int32_t index);
    // Opens the editor in `parent` (opcode 14 with the XID); closes it (15).
    void openEditor(WindowId parent);
    void closeEditor();
    void idle(); // opcode 19
    bool editorOpen() const { return open; }

    // Runs `input` (the left channel; the right gets it reversed) through
    // processOverwriting from cleared filters, and gives both outputs.
    std::vector<float> process(const std::vector<float>& input);

    // What the plug-in asked of the host: idles while a control tracks the
    // mouse (host opcode 3), and automation (host opcode 0) per parameter.
    int idleRequests() const { return idles.load(); }
    int automations(std::int32_t index) const;
    float lastAutomatedValue(std::int32_t index) const;

    EffectRecord* record = nullptr;

  private:
    static IntPtr VARNEX_CALL callback(EffectRecord* record, std::int32_t opcode,
                                       std::int32_t index, IntPtr value, void* ptr, float opt);

    bool open = false;
    std::atomic<int> idles{0};
    std::atomic<int> automationCounts[8] = {};
    std::atomic<float> automatedValues[8] = {};
};

// The test's own connection and a top-level window on it, standing for
// the window a host gives the editor. Everything here runs on the test's
// thread.
class HostWindow {
  public:
    HostWindow(Display* display, int x, int y, int width, int height);
    ~HostWindow();
    HostWindow(const HostWindow&) = delete;
    HostWindow& operator=(const HostWindow&) = delete;

    WindowId id() const { return window; }
    // From now on a press in the window takes the keyboard focus, as a
    // host's window does under a window manager (see takeFocusOnPresses).
    void takeFocusOnPress();
    // The host destroys its window (with the editor's inside it).
    void destroy();
    // The windows inside the host's window.
    std::vector<WindowId> children() const;

  private:
    Display* display;
    WindowId window = 0;
};

// Drains the test's connection: each press in a window that asked for it
// gives that window the keyboard focus.
void takeFocusOnPresses(Display* display);
// The window that has the keyboard focus (0 for none, 1 for the pointer's).
WindowId inputFocus(Display* display);
// A mapped override-redirect window at the screen point (x, y), made by
// any client (a popup menu); 0 when there is none.
WindowId popupAt(Display* display, int x, int y);

// Pixels of a window as the server shows them, each red | green << 8 |
// blue << 16, row by row from the top.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;

    std::uint32_t at(int x, int y) const {
        return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                      static_cast<std::size_t>(x)];
    }
    // The box (left, top) to (right, bottom), right and bottom excluded.
    Picture crop(int left, int top, int right, int bottom) const;
    bool operator==(const Picture& other) const = default;
};
Picture grabWindow(Display* display, WindowId window);
// How two pictures of one size differ: count and first differing pixel.
std::string describeDifference(const Picture& expected, const Picture& actual);

// The editor as `varnex snapshot` draws it in memory with default settings;
// empty (width 0) when the command or the PNG reader is not there.
const Picture& snapshotPicture(std::string& whyMissing);

// Gives the editors idle time (and drains the test's own connection) until
// `done` holds or `limit` passes.
bool idleUntil(Display* display, const std::vector<PluginInstance*>& editors,
               const std::function<bool()>& done, std::chrono::milliseconds limit = 5s);

// The user's hand: a thread with its own connection that moves the pointer
// and presses buttons through XTest while the test's thread keeps giving
// the editors idle time (and so runs their mouse tracking).
class Hand {
  public:
    explicit Hand(const std::string& displayName);
    ~Hand(); // lets go of every button still held
    Hand(const Hand&) = delete;
    Hand& operator=(const Hand&) = delete;

    void moveTo(int screenX, int screenY);
    void press(unsigned int button);
    void release(unsigned int button);
    // Presses and releases the key of a key symbol's name ("a", "Return").
    void tapKey(const char* name);
    // Moves to the screen point and clicks there.
    void clickAt(int screenX, int screenY, unsigned int button = LeftButton);

  private:
    Display* display;
    unsigned int held = 0; // bit per button
};

// Runs `gesture` with a hand on its own thread while the test's thread
// idles the editors; false when the gesture did not end within `limit`.
// The gesture returns whether every step it waited for came.
bool performGesture(Display* display, const std::vector<PluginInstance*>& editors,
                    const std::function<bool(Hand&)>& gesture,
                    std::chrono::milliseconds limit = 20s);

// XTest is there on the server of DISPLAY.
bool pointerInjectionAvailable(Display* display);
// Where the window's client area starts on the screen.
void screenOrigin(Display* display, WindowId window, int& x, int& y);
