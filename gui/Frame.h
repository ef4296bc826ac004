#pragma once
// The top view: owns the platform child window that the editor places in
// the window its host supplies, keeps the list of attached views, routes
// paints and mouse presses to them, and redraws changed views when pumped.

#include "gui/View.h"
#include "platform/Types.h"

#include <cstdint>

class Bitmap;
class FrameEditor;
struct WindowDescription;

class Frame : public View {
  public:
    // A frame whose window is a child of `parentWindow`; open from here on.
    Frame(const Rect& size, void* parentWindow, FrameEditor* editor);
    // Separate-window mode: no window until openSeparateWindow asks the
    // host for one through the editor.
    Frame(const Rect& size, const char* title, FrameEditor* editor, std::int32_t style);
    ~Frame() override;

    // Background first, then the views in list order, the exclusive view last.
    void draw(DrawContext& context) override;
    // Hands the press to the view that takes it: the exclusive view if one
    // is set, else the last attached view whose size contains `where`.
    void mouseDown(DrawContext& context, Point where) override;
    void refresh(DrawContext& context) override;
    // The frame owns attached views. False when the list cannot grow; the
    // view then stays the caller's.
    virtual bool attachView(View* view);
    // Takes the view out of the list without destroying it.
    virtual bool detachView(View* view);

    // Fails while another exclusive view is set; none clears.
    bool setExclusiveView(View* view);
    View* exclusiveView() const { return exclusive; }
    View* keyboardView() const { return keyboard; }
    void setKeyboardView(View* view) { keyboard = view; }
    void setBackgroundBitmap(Bitmap* bitmap);
    Bitmap* backgroundBitmap() const { return background; }

    // Draws one attached view now, or the whole frame for none or for a
    // view that is not attached.
    void paintView(View* view = nullptr);
    // The idle refresh: redraws the views whose state changed, once the
    // first paint has happened.
    void pump();

    bool openSeparateWindow(const Point* position = nullptr);
    bool closeSeparateWindow();
    bool hostWindowPosition(std::int32_t& x, std::int32_t& y) const;
    bool hostWindowRect(Rect& rect) const;
    bool resizeHostWindows(std::int32_t width, std::int32_t height);

    platform::Window* window() const { return frameWindow; }
    FrameEditor* editor() const { return ownerEditor; }
    void* parentWindowHandle() const { return parentWindow; }
    bool isOpen() const { return open; }
    bool isFirstPaintPending() const { return firstPaintPending; }
    std::int32_t viewCount() const { return count; }
    std::int32_t viewCapacity() const { return capacity; }
    View* viewAt(std::int32_t index) const;
    const WindowDescription* windowDescription() const { return description; }

    // The window class shared by all frames of the module, and how many
    // frame windows currently need it.
    static const char* windowClassName();
    static std::int32_t windowClassUseCount();

  private:
    static platform::MessageResult windowProcedure(platform::Window* window, std::uint32_t message,
                                                   platform::WordParam wParam,
                                                   platform::LongParam lParam);
    void createWindow();
    void releaseWindowClass();
    std::int32_t indexOf(const View* view) const;

    FrameEditor* ownerEditor;
    void* parentWindow;
    Bitmap* background = nullptr;
    std::int32_t count = 0;
    std::int32_t capacity = 0;
    View** views = nullptr;
    View* exclusive = nullptr;
    View* keyboard = nullptr;
    bool firstPaintPending = true;
    bool open;
    platform::Window* frameWindow = nullptr;
    bool separateWindow;
    WindowDescription* description = nullptr;
    // True while this frame holds one use of the window class; the use
    // outlives the window when the host destroyed it first.
    bool holdsClassUse = false;
};
