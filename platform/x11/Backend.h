#pragma once
// What the X11 backend keeps for each window it created: a connection of
// the window's own to the X server, the window's backing picture in the
// raster, and what shows that picture in the window. Internal to
// platform/x11.
//
// A platform window handle is the window's XID. Windows of the host (ids
// this backend did not create) have no record; calls that only ask about
// them or move them go through a connection that the calling thread
// already has.

#include "platform/Types.h"
#include "platform/Windowing.h"
#include "platform/widgets/LineEditor.h"

#include <X11/Xlib.h>
#include <X11/extensions/XShm.h>

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace platform::x11 {

inline ::Window xid(platform::Window* window) {
    return static_cast<::Window>(reinterpret_cast<std::uintptr_t>(window));
}
inline platform::Window* handleOf(::Window id) {
    return reinterpret_cast<platform::Window*>(static_cast<std::uintptr_t>(id));
}

// Catches the X errors of this backend's connections while it lives, on
// the thread that made it: an error of `display` is counted and goes no
// further; errors of other connections go to the handler that was there
// before. The handler is the process's, so it is installed only while at
// least one trap lives, and the previous one is put back right after.
class ErrorTrap {
  public:
    explicit ErrorTrap(Display* display);
    ~ErrorTrap();
    ErrorTrap(const ErrorTrap&) = delete;
    ErrorTrap& operator=(const ErrorTrap&) = delete;

    // Errors of the connection seen while this trap was the innermost one
    // for it.
    int errors() const { return count; }

  private:
    static int onError(Display* display, XErrorEvent* event);

    Display* display;
    ErrorTrap* outer;
    int count = 0;
};

// How the raster's colour words become the pixels of the window's visual.
struct PixelLayout {
    int redShift = 16, greenShift = 8, blueShift = 0;
    int redBits = 8, greenBits = 8, blueBits = 8;
    unsigned long opaqueBits = 0; // the alpha bits of a 32-bit visual
    bool direct = false;          // 32 bits a pixel in this machine's byte order, 8 bits a colour

    static PixelLayout of(const Visual* visual, int depth, const XImage* image);
    unsigned long pixel(ColorWord color) const;
};

// Shows the window's backing picture in the window: through a shared
// memory image when the server offers MIT-SHM and this client can attach
// to it, else through a plain image sent over the connection.
class Presenter {
  public:
    bool create(Display* display, ::Window window, Visual* visual, int depth, int width,
                int height);
    void destroy(Display* display);
    // Copies `box` of the picture into the window and flushes. Draws
    // nothing for an empty box.
    void show(Display* display, ::Window window, const PixelMap& picture, IntRect box);
    bool sharedMemory() const { return shared; }

  private:
    void convert(const PixelMap& picture, const IntRect& box);

    XImage* image = nullptr;
    XShmSegmentInfo segment{};
    GC gc = nullptr;
    PixelLayout layout;
    bool shared = false;
    bool busy = false; // the server may still read the shared image
};

// The state of a button press while its message is handled. The first
// button reads and the position poll made before them report the press
// itself, so that a click released before the control looks is still
// seen; the first position poll after a button read switches to the
// pointer's live state.
struct PressState {
    bool active = false;
    bool buttonsRead = false;
    int rootX = 0;
    int rootY = 0;
    unsigned int mask = 0;
};

// What an edit window holds besides its record (EditWindow.cpp).
struct EditState;

struct WindowRecord {
    ::Window id = 0;
    ::Window root = 0;
    Display* display = nullptr;
    std::thread::id owner;
    std::string className;
    void* module = nullptr;
    WindowProcedure procedure = nullptr;
    LongParam userData = 0;
    PixelMap* backing = nullptr;
    Presenter presenter;
    Colormap colormap = 0;
    Visual* visual = nullptr;
    int depth = 0;

    // The connection's next request number when a drain last found
    // nothing to read and nothing to send. While it stays the same, no
    // request was made since, so nothing waits to be sent and whatever
    // arrives waits in the socket, where a poll sees it.
    unsigned long quietAt = 0;

    bool needsPaint = true;
    bool paintRequested = false; // invalidated: paint at the next drain
    IntRect exposed{};           // exposed since the last paint
    bool dispatching = false;
    bool destroying = false;
    bool gone = false; // out of the registry; freed when its drain ends

    PressState press;
    unsigned int liveMask = 0;
    std::chrono::steady_clock::time_point liveMaskTime{};

    // A child of one of this backend's windows (on the same thread) shares
    // its parent's connection, so that one drain serves the editor and the
    // controls inside it. `host` is the record that owns the connection,
    // none for a window with a connection of its own; `parent` is the
    // record of the window's parent.
    WindowRecord* host = nullptr;
    WindowRecord* parent = nullptr;
    // On a connection's owner: the live windows sharing it, and those
    // destroyed during a drain, freed when the drain ends.
    std::vector<WindowRecord*> guests;
    std::vector<WindowRecord*> departed;
    bool paintDue = false; // exposed or invalidated: paint before the drain ends

    std::string text; // the title, for windowText
    std::shared_ptr<EditState> edit;

    // On a connection's owner: the X input focus as it was before one of
    // its windows took it, given back when the focus leaves them.
    bool focusSaved = false;
    ::Window focusBefore = 0;
    int revertBefore = 0;
    // The request that last gave this window the X focus: focus events
    // older than it are about an earlier focus and say nothing now.
    unsigned long focusSerial = 0;
};

inline WindowRecord* connectionOwner(WindowRecord* record) {
    return record->host ? record->host : record;
}

// --- the registry of this backend's windows -----------------------------
void enrol(WindowRecord* record);
// Takes the record out of the registry; its handle is unknown from then on.
void withdraw(WindowRecord* record);
WindowRecord* recordOf(platform::Window* window);
// The record whose event the calling thread is handling, else any window
// of the calling thread; none when the thread has no window.
WindowRecord* currentRecord();

// Marks the record whose press the calling thread is handling, for the
// pointer polls of Input.cpp; gives back the previous one.
WindowRecord* setHandlingRecord(WindowRecord* record);

// Reads the pointer on the record's connection: root position and the
// button and modifier mask. False when the pointer is on another screen
// or the connection failed.
bool queryPointer(WindowRecord& record, int& rootX, int& rootY, unsigned int& mask);

// Union of two boxes; an empty box (left >= right) adds nothing.
IntRect unite(const IntRect& a, const IntRect& b);

// Calls the window's current procedure (the default one when it has none).
MessageResult sendTo(WindowRecord* record, std::uint32_t message, WordParam wParam,
                     LongParam lParam);

// --- the keyboard (Keyboard.cpp) -----------------------------------------
using widgets::MessageSetFocus;
// The virtual-key code of a key, as a US keyboard names it; 0 for keys
// without one here.
std::int32_t virtualKeyOf(XKeyEvent& event);
// A key pressed in the window: the key-down message for keys with a
// virtual-key code, then the character message for a printable character.
void deliverKey(WindowRecord* record, XKeyEvent& event);
// The X focus left the window.
void deliverFocusOut(WindowRecord* record, const XFocusChangeEvent& event);
// The window is going away: it no longer holds the focus, and when it
// held it, the keyboard goes back to where it was before.
void forgetFocus(WindowRecord* record);

// --- edit windows (EditWindow.cpp) ---------------------------------------
// True for the class name of the system's edit window.
bool isEditClass(const char* className);
// Gives the record the editor of an edit window holding `title`.
bool makeEditState(WindowRecord& record, const char* title, std::uint32_t style);
// The procedure of edit windows.
MessageResult editProcedure(platform::Window* window, std::uint32_t message, WordParam wParam,
                            LongParam lParam);
// Draws the editor into the window now.
void drawEdit(WindowRecord& record);
// The window's backing picture has a new size.
void editResized(WindowRecord& record);
// The editor's text, or none for a window that is not an edit window.
const std::string* editText(WindowRecord* record);

// --- posted messages (PopupMenu.cpp) -------------------------------------
// Messages posted to the window are dropped with it.
void forgetPostedMessages(platform::Window* window);

} // namespace platform::x11
