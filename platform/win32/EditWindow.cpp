// The keyboard side through USER32: messages sent to windows, the keyboard
// focus, a window's text, and replacement procedures for the system's own
// controls (the edit window).
//
// A system window gets a native procedure of this file (a subclass) the
// first time the toolkit replaces its procedure or hands it a font. The
// subclass passes every message to the window's platform procedure; at
// first that is `ownProcedure`, a stand-in for the window's native
// procedure, which is also what setWindowProcedure hands back, so that a
// replacement passes messages on with callWindowProcedure as it would on
// any backend. Windows of the backend's own classes have no native
// procedure to stand in for: replacing theirs swaps the procedure their
// record calls.

#include "platform/TextEditing.h"
#include "platform/raster/Glyphs.h"
#include "platform/raster/Objects.h"

#include "platform/win32/SystemHeaders.h"

#include "platform/win32/WindowRecords.h"

#include <cstring>
#include <map>
#include <mutex>
#include <utility>

namespace platform {
namespace {

using win32::handleOf;
using win32::windowOf;

// What the backend keeps for a system window that it subclassed, from the
// subclassing to the window's last message.
struct Subclass {
    WNDPROC native = nullptr;            // the window's own procedure
    WindowProcedure procedure = nullptr; // where its messages go first
    HFONT font = nullptr;                // made from the toolkit's font
};

// Windows of several threads (editors of two plug-in instances) may be
// subclassed at the same time.
struct Subclasses {
    std::mutex lock;
    std::map<HWND, Subclass> windows;
};

Subclasses& subclasses() {
    static Subclasses s;
    return s;
}

// The platform procedure that stands for a subclassed window's native one.
MessageResult ownProcedure(Window* window, std::uint32_t message, WordParam wParam,
                           LongParam lParam) {
    WNDPROC native = nullptr;
    {
        Subclasses& s = subclasses();
        const std::lock_guard<std::mutex> guard(s.lock);
        if (const auto found = s.windows.find(handleOf(window)); found != s.windows.end())
            native = found->second.native;
    }
    if (!native)
        return DefWindowProcA(handleOf(window), message, wParam, lParam);
    return CallWindowProcA(native, handleOf(window), message, wParam, lParam);
}

// Frees what was kept for the window: its entry and the font made for it.
void forget(HWND handle) {
    HFONT font = nullptr;
    {
        Subclasses& s = subclasses();
        const std::lock_guard<std::mutex> guard(s.lock);
        const auto found = s.windows.find(handle);
        if (found == s.windows.end())
            return;
        font = found->second.font;
        s.windows.erase(found);
    }
    if (font)
        DeleteObject(font);
}

// The native procedure of every subclassed window.
LRESULT CALLBACK subclassProcedure(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    WindowProcedure procedure = nullptr;
    {
        Subclasses& s = subclasses();
        const std::lock_guard<std::mutex> guard(s.lock);
        if (const auto found = s.windows.find(handle); found != s.windows.end())
            procedure = found->second.procedure;
    }
    if (!procedure)
        return DefWindowProcA(handle, message, wParam, lParam);
    const LRESULT result = procedure(windowOf(handle), message, wParam, lParam);
    if (message == WM_NCDESTROY)
        forget(handle);
    return result;
}

// Subclasses a system window unless that was done before. False for a
// window that cannot be subclassed (gone, or another process's).
bool subclass(HWND handle) {
    Subclasses& s = subclasses();
    const std::lock_guard<std::mutex> guard(s.lock);
    if (s.windows.count(handle))
        return true;
    const auto native = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(handle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&subclassProcedure)));
    if (!native)
        return false;
    s.windows[handle] = Subclass{native, &ownProcedure, nullptr};
    return true;
}

// A system font like the raster's: the raster keeps only the face it chose
// for the request, that is the character height and the weight. Its glyphs
// are Liberation Sans, which has the metrics of Arial, the face the
// toolkit's fonts ask for.
HFONT systemFont(const Font& font) {
    LOGFONTA description{};
    if (const raster::GlyphFace* face = font.face) {
        description.lfHeight = -face->size;
        description.lfWeight = face->bold ? FW_BOLD : FW_NORMAL;
    } else {
        description.lfWeight = FW_NORMAL;
    }
    description.lfPitchAndFamily = VARIABLE_PITCH | FF_SWISS;
    std::strncpy(description.lfFaceName, "Arial", LF_FACESIZE - 1);
    return CreateFontIndirectA(&description);
}

// Hands a system window a font made from the toolkit's, kept until the
// window gets another one or is destroyed. None restores the system font.
MessageResult setSystemFont(HWND handle, const Font* font, LongParam redraw) {
    if (!IsWindow(handle) || !subclass(handle))
        return 0;
    HFONT made = font ? systemFont(*font) : nullptr;
    if (font && !made)
        return 0;
    const LRESULT result = SendMessageA(handle, WM_SETFONT, reinterpret_cast<WPARAM>(made), redraw);
    HFONT previous = made;
    {
        Subclasses& s = subclasses();
        const std::lock_guard<std::mutex> guard(s.lock);
        // Gone while handling the message: nothing keeps `made` any more.
        if (const auto found = s.windows.find(handle); found != s.windows.end())
            previous = std::exchange(found->second.font, made);
    }
    if (previous)
        DeleteObject(previous);
    return result;
}

} // namespace

MessageResult sendMessage(Window* window, std::uint32_t message, WordParam wParam,
                          LongParam lParam) {
    const HWND handle = handleOf(window);
    // The backend's own windows take the toolkit's font as it is.
    if (message == MessageSetFont && !win32::hasRecord(handle))
        return setSystemFont(handle, reinterpret_cast<const Font*>(wParam), lParam);
    return SendMessageA(handle, message, wParam, lParam);
}

Window* setFocus(Window* window) {
    return windowOf(SetFocus(handleOf(window)));
}

Window* focusWindow() {
    return windowOf(GetFocus());
}

WindowProcedure setWindowProcedure(Window* window, WindowProcedure procedure) {
    const HWND handle = handleOf(window);
    if (!procedure || !isWindow(window))
        return nullptr;
    WindowProcedure previous = nullptr;
    if (win32::swapRecordProcedure(handle, procedure, previous))
        return previous;
    if (!subclass(handle))
        return nullptr;
    Subclasses& s = subclasses();
    const std::lock_guard<std::mutex> guard(s.lock);
    const auto found = s.windows.find(handle);
    return found == s.windows.end() ? nullptr : std::exchange(found->second.procedure, procedure);
}

MessageResult callWindowProcedure(WindowProcedure procedure, Window* window, std::uint32_t message,
                                  WordParam wParam, LongParam lParam) {
    // The stand-in for a native procedure calls it itself.
    return procedure ? procedure(window, message, wParam, lParam) : 0;
}

std::int32_t windowText(Window* window, char* buffer, std::int32_t limit) {
    if (!buffer || limit <= 0)
        return 0;
    buffer[0] = '\0';
    if (!window)
        return 0;
    return GetWindowTextA(handleOf(window), buffer, limit);
}

} // namespace platform
