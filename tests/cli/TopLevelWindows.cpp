#include "TopLevelWindows.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

struct TopLevelWindows::Connection {
    Display* display = nullptr;

    Window find(pid_t pid) const {
        const Atom pidAtom = XInternAtom(display, "_NET_WM_PID", True);
        Window root = 0, parent = 0, *children = nullptr;
        unsigned count = 0;
        if (pidAtom == None ||
            !XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count))
            return 0;
        Window found = 0;
        for (unsigned i = 0; i < count && !found; ++i) {
            Atom type = 0;
            int format = 0;
            unsigned long items = 0, after = 0;
            unsigned char* data = nullptr;
            if (XGetWindowProperty(display, children[i], pidAtom, 0, 1, False, XA_CARDINAL, &type,
                                   &format, &items, &after, &data) == Success &&
                data && items == 1 && format == 32 &&
                *reinterpret_cast<unsigned long*>(data) == static_cast<unsigned long>(pid))
                found = children[i];
            if (data)
                XFree(data);
        }
        if (children)
            XFree(children);
        return found;
    }
};

TopLevelWindows::TopLevelWindows() : connection(std::make_unique<Connection>()) {
    connection->display = XOpenDisplay(nullptr);
}

TopLevelWindows::~TopLevelWindows() {
    if (connection->display)
        XCloseDisplay(connection->display);
}

bool TopLevelWindows::connected() const {
    return connection->display != nullptr;
}

TopLevelWindows::Placement TopLevelWindows::windowOf(pid_t pid) {
    Placement placement;
    Display* display = connection->display;
    const Window window = display ? connection->find(pid) : 0;
    if (!window)
        return placement;
    Window child = 0;
    XTranslateCoordinates(display, window, DefaultRootWindow(display), 0, 0, &placement.x,
                          &placement.y, &child);
    XWindowAttributes attributes{};
    XGetWindowAttributes(display, window, &attributes);
    placement.width = attributes.width;
    placement.height = attributes.height;
    placement.found = true;
    return placement;
}

bool TopLevelWindows::requestClose(pid_t pid) {
    Display* display = connection->display;
    const Window window = display ? connection->find(pid) : 0;
    if (!window)
        return false;
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &event);
    XFlush(display);
    return true;
}
