#include "gui/Frame.h"

#include "gui/Bitmap.h"
#include "gui/DrawContext.h"
#include "gui/FrameEditor.h"
#include "gui/WindowDescription.h"
#include "platform/Windowing.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace {
constexpr std::int32_t growthStep = 10;
} // namespace

Frame::Frame(const Rect& size, void* parentWindow, FrameEditor* editor)
    : View(size), ownerEditor(editor), parentWindow(parentWindow), open(true),
      separateWindow(false) {
    createWindow();
}

Frame::Frame(const Rect& size, const char* title, FrameEditor* editor, std::int32_t style)
    : View(size), ownerEditor(editor), parentWindow(nullptr), open(false), separateWindow(true) {
    description = new WindowDescription{};
    if (title)
        std::strncpy(description->title, title, sizeof description->title - 1);
    description->x = static_cast<std::int16_t>(size.left);
    description->y = static_cast<std::int16_t>(size.top);
    description->width = static_cast<std::int16_t>(size.width());
    description->height = static_cast<std::int16_t>(size.height());
    description->style = style;
}

Frame::~Frame() {
    if (keyboard) {
        keyboard->releaseFocus();
        keyboard = nullptr;
    }
    for (std::int32_t i = 0; i < count; ++i)
        delete views[i];
    delete[] views;
    views = nullptr;
    count = capacity = 0;
    if (background)
        background->release();
    background = nullptr;
    if (frameWindow) {
        platform::setWindowUserData(frameWindow, 0);
        platform::destroyWindow(frameWindow);
        frameWindow = nullptr;
    }
    releaseWindowClass();
    if (separateWindow)
        closeSeparateWindow();
    delete description;
}

View* Frame::viewAt(std::int32_t index) const {
    return index >= 0 && index < count ? views[index] : nullptr;
}

std::int32_t Frame::indexOf(const View* view) const {
    for (std::int32_t i = 0; i < count; ++i)
        if (views[i] == view)
            return i;
    return -1;
}

void Frame::draw(DrawContext& context) {
    firstPaintPending = false;
    if (background)
        background->blit(context, {0, 0, background->width(), background->height()}, {0, 0});
    for (std::int32_t i = 0; i < count; ++i)
        views[i]->draw(context);
    if (exclusive)
        exclusive->draw(context);
}

void Frame::mouseDown(DrawContext& context, Point where) {
    if (keyboard && !keyboard->viewSize().contains(where)) {
        keyboard->releaseFocus();
        keyboard = nullptr;
    }
    if (exclusive) {
        if (exclusive->viewSize().contains(where))
            exclusive->mouseDown(context, where);
        return;
    }
    for (std::int32_t i = count - 1; i >= 0; --i) {
        if (views[i]->viewSize().contains(where)) {
            views[i]->mouseDown(context, where);
            return;
        }
    }
}

void Frame::refresh(DrawContext& context) {
    if (!open)
        return;
    if (exclusive) {
        exclusive->refresh(context);
        return;
    }
    for (std::int32_t i = 0; i < count; ++i)
        views[i]->refresh(context);
}

bool Frame::attachView(View* view) {
    if (!view)
        return false;
    if (count == capacity) {
        // When the list cannot grow it stays as it was: the attached views
        // remain owned and reachable, and only this view is refused.
        if (capacity > INT32_MAX - growthStep)
            return false;
        const std::int32_t grown = capacity + growthStep;
        View** larger = new (std::nothrow) View*[static_cast<std::size_t>(grown)];
        if (!larger)
            return false;
        std::copy(views, views + count, larger);
        delete[] views;
        views = larger;
        capacity = grown;
    }
    views[count++] = view;
    view->setFrame(this);
    return true;
}

bool Frame::detachView(View* view) {
    const std::int32_t index = indexOf(view);
    if (index >= 0) {
        std::copy(views + index + 1, views + count, views + index);
        --count;
    }
    return true;
}

bool Frame::setExclusiveView(View* view) {
    if (view && exclusive)
        return false;
    exclusive = view;
    return true;
}

void Frame::setBackgroundBitmap(Bitmap* bitmap) {
    if (background)
        background->release();
    background = bitmap;
    if (background)
        background->retain();
}

void Frame::paintView(View* view) {
    // Without a window there is nothing to draw on.
    if (!frameWindow)
        return;
    const bool attached = view && indexOf(view) >= 0;
    platform::DeviceContext* deviceContext = platform::windowContext(frameWindow);
    {
        DrawContext context(this, deviceContext, frameWindow);
        if (attached)
            view->draw(context);
        else
            draw(context);
    }
    platform::releaseWindowContext(frameWindow, deviceContext);
}

void Frame::pump() {
    // Window systems whose events wait on a connection of the window's own
    // deliver them here: paints, presses, the host destroying the window.
    if (frameWindow)
        platform::dispatchWindowEvents(frameWindow);
    if (!open || firstPaintPending || !frameWindow)
        return;
    platform::DeviceContext* deviceContext = platform::windowContext(frameWindow);
    {
        DrawContext context(this, deviceContext, frameWindow);
        refresh(context);
    }
    platform::releaseWindowContext(frameWindow, deviceContext);
}

bool Frame::openSeparateWindow(const Point* position) {
    if (!separateWindow)
        return false;
    if (open) {
        platform::Window* host = platform::parentWindow(platform::parentWindow(frameWindow));
        platform::bringWindowToTop(host);
        return false;
    }
    if (position) {
        description->x = static_cast<std::int16_t>(position->h);
        description->y = static_cast<std::int16_t>(position->v);
    }
    if (!ownerEditor)
        return false;
    parentWindow = ownerEditor->openHostWindow(*description);
    if (parentWindow) {
        createWindow();
        open = frameWindow != nullptr;
    }
    return open;
}

bool Frame::closeSeparateWindow() {
    if (!separateWindow || !open || !parentWindow)
        return false;
    if (ownerEditor)
        ownerEditor->closeHostWindow(*description);
    parentWindow = nullptr;
    return true;
}

bool Frame::hostWindowPosition(std::int32_t& x, std::int32_t& y) const {
    if (!open)
        return false;
    platform::Window* host = platform::parentWindow(platform::parentWindow(frameWindow));
    platform::IntRect rect;
    if (!platform::windowRect(host, rect))
        return false;
    platform::IntPoint corner{rect.left, rect.top};
    platform::mapWindowPoints(nullptr, platform::parentWindow(host), &corner, 1);
    x = corner.x;
    y = corner.y;
    return true;
}

bool Frame::hostWindowRect(Rect& rect) const {
    if (!open)
        return false;
    platform::Window* parent = platform::parentWindow(frameWindow);
    platform::IntRect r;
    if (!platform::windowRect(parent, r))
        return false;
    platform::IntPoint corners[2] = {{r.left, r.top}, {r.right, r.bottom}};
    platform::Window* above =
        platform::parentWindow(platform::parentWindow(platform::parentWindow(frameWindow)));
    platform::mapWindowPoints(nullptr, above, corners, 2);
    rect = {corners[0].x, corners[0].y, corners[1].x, corners[1].y};
    return true;
}

bool Frame::resizeHostWindows(std::int32_t width, std::int32_t height) {
    if (!open || (width == size.width() && height == size.height()))
        return false;
    size.right = size.left + width;
    size.bottom = size.top + height;
    const std::int32_t limit = 2 * platform::dialogFrameHeight();
    std::int32_t dx = 0;
    std::int32_t dy = 0;
    platform::Window* w = frameWindow;
    while (dx != limit && w) {
        platform::IntRect own;
        platform::IntRect parent;
        platform::windowRect(w, own);
        platform::Window* up = platform::parentWindow(w);
        platform::windowRect(up, parent);
        platform::resizeWindow(w, width + dx, height + dy);
        dx = (parent.right - parent.left) - (own.right - own.left);
        dy = (parent.bottom - parent.top) - (own.bottom - own.top);
        if (dx > 80 || dy > 80)
            return true;
        w = up;
    }
    if (w)
        platform::resizeWindow(w, width + dx, height + dy);
    return true;
}
