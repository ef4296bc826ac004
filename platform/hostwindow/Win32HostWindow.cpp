// The host window through USER32: a top-level window whose messages, and
// those of the plug-in's child windows on the same thread, are dispatched
// by pumpEvents. Ctrl-C, CPU time and standard streams through KERNEL32 and
// the C library.

#include "platform/HostWindow.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include "platform/win32/TopDownBitmap.h"

namespace platform {

namespace {

constexpr const char* ClassName = "VarnexHostWindow";
constexpr int WindowX = 64;
constexpr int WindowY = 64;
constexpr DWORD WindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
// See the X11 backend: the fill that an editor's first paint replaces.
constexpr ColorWord RequestedFill = colorWord(0x2B, 0x11, 0x5E);

std::atomic<bool> interrupted{false};

std::string lastErrorText(const char* what) {
    return std::string(what) + " failed (error " + std::to_string(GetLastError()) + ")";
}

double seconds(const FILETIME& time) {
    ULARGE_INTEGER ticks;
    ticks.LowPart = time.dwLowDateTime;
    ticks.HighPart = time.dwHighDateTime;
    return static_cast<double>(ticks.QuadPart) * 1e-7; // 100 ns units
}

BOOL WINAPI noteInterrupt(DWORD event) {
    if (event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT || event == CTRL_CLOSE_EVENT) {
        interrupted.store(true, std::memory_order_relaxed);
        return TRUE;
    }
    return FALSE;
}

} // namespace

struct HostWindow::State {
    HWND window = nullptr;
    bool closeRequested = false;
    bool destroyed = false;
};

namespace {

LRESULT CALLBACK hostWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* state = reinterpret_cast<HostWindow::State*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (state) {
        if (message == WM_CLOSE) {
            // The editor is closed first, then this window, by the owner.
            state->closeRequested = true;
            return 0;
        }
        if (message == WM_DESTROY)
            state->destroyed = true;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

bool registerClassOnce(std::string& failure) {
    static bool registered = false;
    if (registered)
        return true;
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = hostWindowProcedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.hbrBackground = CreateSolidBrush(RequestedFill);
    windowClass.lpszClassName = ClassName;
    if (!RegisterClassA(&windowClass)) {
        failure = lastErrorText("registering the host window's class");
        return false;
    }
    registered = true;
    return true;
}

} // namespace

HostWindow::HostWindow(std::unique_ptr<State> made) : state(std::move(made)) {}

HostWindow::~HostWindow() {
    if (!state->destroyed)
        DestroyWindow(state->window);
}

std::unique_ptr<HostWindow> HostWindow::open(const std::string& title, std::int32_t width,
                                             std::int32_t height, std::string& failure) {
    if (!registerClassOnce(failure))
        return nullptr;
    RECT outer{0, 0, width, height};
    AdjustWindowRectEx(&outer, WindowStyle, FALSE, 0);
    auto state = std::make_unique<State>();
    state->window = CreateWindowExA(0, ClassName, title.c_str(), WindowStyle, WindowX, WindowY,
                                    outer.right - outer.left, outer.bottom - outer.top, nullptr,
                                    nullptr, GetModuleHandleA(nullptr), nullptr);
    if (!state->window) {
        failure = lastErrorText("creating the host window");
        return nullptr;
    }
    SetWindowLongPtrA(state->window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(state.get()));
    ShowWindow(state->window, SW_SHOWNORMAL);
    UpdateWindow(state->window);
    return std::unique_ptr<HostWindow>(new HostWindow(std::move(state)));
}

void* HostWindow::nativeHandle() const {
    return state->window;
}

bool HostWindow::pumpEvents(std::int32_t milliseconds) {
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    for (;;) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        if (closed() || interruptRequested())
            break;
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            break;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(left.count()), QS_ALLINPUT);
    }
    return !closed();
}

bool HostWindow::closed() const {
    return state->closeRequested || state->destroyed;
}

IntPoint HostWindow::clientOrigin() const {
    POINT origin{0, 0};
    if (!state->destroyed)
        ClientToScreen(state->window, &origin);
    return {static_cast<std::int32_t>(origin.x), static_cast<std::int32_t>(origin.y)};
}

bool HostWindow::readPixel(std::int32_t x, std::int32_t y, ColorWord& color) const {
    if (state->destroyed)
        return false;
    // The window does not clip its children, so its context reads what
    // they drew as well.
    HDC context = GetDC(state->window);
    if (!context)
        return false;
    const COLORREF pixel = GetPixel(context, x, y);
    ReleaseDC(state->window, context);
    if (pixel == CLR_INVALID)
        return false;
    color = static_cast<ColorWord>(pixel); // red | green << 8 | blue << 16, as ColorWord
    return true;
}

bool HostWindow::readClientArea(ScreenPicture& picture) const {
    if (state->destroyed)
        return false;
    RECT client{};
    if (!GetClientRect(state->window, &client) || client.right <= 0 || client.bottom <= 0)
        return false;
    const int width = client.right;
    const int height = client.bottom;
    // Children are not clipped from the window's context (see readPixel).
    HDC context = GetDC(state->window);
    if (!context)
        return false;
    BITMAPINFO format = win32::topDownBitmapFormat(width, height);
    void* bits = nullptr;
    HBITMAP copy = CreateDIBSection(context, &format, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC memory = CreateCompatibleDC(context);
    bool copied = false;
    if (copy && memory && bits) {
        HGDIOBJ previous = SelectObject(memory, copy);
        copied = BitBlt(memory, 0, 0, width, height, context, 0, 0, SRCCOPY) != 0;
        GdiFlush();
        SelectObject(memory, previous);
    }
    if (copied) {
        picture.width = width;
        picture.height = height;
        const std::size_t count =
            static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
        picture.pixels.resize(count);
        const auto* words = static_cast<const std::uint32_t*>(bits); // 0x00RRGGBB
        for (std::size_t i = 0; i < count; ++i) {
            const std::uint32_t word = words[i];
            picture.pixels[i] =
                colorWord(static_cast<std::uint8_t>(word >> 16),
                          static_cast<std::uint8_t>(word >> 8), static_cast<std::uint8_t>(word));
        }
    }
    if (memory)
        DeleteDC(memory);
    if (copy)
        DeleteObject(copy);
    ReleaseDC(state->window, context);
    return copied;
}

ColorWord HostWindow::fillColor() const {
    return RequestedFill;
}

struct PointerInjector::State {};

PointerInjector::PointerInjector(std::unique_ptr<State> made) : state(std::move(made)) {}
PointerInjector::~PointerInjector() = default;

std::unique_ptr<PointerInjector> PointerInjector::open(std::string&) {
    return std::unique_ptr<PointerInjector>(new PointerInjector(std::make_unique<State>()));
}

bool PointerInjector::moveTo(std::int32_t screenX, std::int32_t screenY) {
    // Absolute positions are in 1/65536 of the primary screen; rounding up
    // lands on the pixel itself.
    const LONG width = GetSystemMetrics(SM_CXSCREEN);
    const LONG height = GetSystemMetrics(SM_CYSCREEN);
    if (width <= 0 || height <= 0)
        return false;
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = static_cast<LONG>((static_cast<LONGLONG>(screenX) * 65536 + width - 1) / width);
    input.mi.dy = static_cast<LONG>((static_cast<LONGLONG>(screenY) * 65536 + height - 1) / height);
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    return SendInput(1, &input, sizeof input) == 1;
}

bool PointerInjector::setLeftButton(bool down) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
    return SendInput(1, &input, sizeof input) == 1;
}

void watchForInterrupt() {
    SetConsoleCtrlHandler(noteInterrupt, TRUE);
}

bool interruptRequested() {
    return interrupted.load(std::memory_order_relaxed);
}

double processCpuSeconds() {
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user))
        return 0.0;
    return seconds(kernel) + seconds(user);
}

double threadCpuSeconds() {
    FILETIME created, exited, kernel, user;
    if (!GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user))
        return 0.0;
    return seconds(kernel) + seconds(user);
}

void useBinaryStandardStreams() {
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
}

} // namespace platform
