// A build without the X11 development files: the program runs, and the
// commands that need a window say why they cannot have one.

#include "platform/HostWindow.h"

namespace platform {

namespace {

constexpr const char* Missing =
    "this build of varnex has no window system (built without libX11 and libXtst)";

} // namespace

struct HostWindow::State {};
struct PointerInjector::State {};

HostWindow::HostWindow(std::unique_ptr<State> made) : state(std::move(made)) {}
HostWindow::~HostWindow() = default;

std::unique_ptr<HostWindow> HostWindow::open(const std::string&, std::int32_t, std::int32_t,
                                             std::string& failure) {
    failure = Missing;
    return nullptr;
}

void* HostWindow::nativeHandle() const {
    return nullptr;
}
bool HostWindow::pumpEvents(std::int32_t) {
    return false;
}
bool HostWindow::closed() const {
    return true;
}
IntPoint HostWindow::clientOrigin() const {
    return {};
}
bool HostWindow::readPixel(std::int32_t, std::int32_t, ColorWord&) const {
    return false;
}
bool HostWindow::readClientArea(ScreenPicture&) const {
    return false;
}
ColorWord HostWindow::fillColor() const {
    return 0;
}

PointerInjector::PointerInjector(std::unique_ptr<State> made) : state(std::move(made)) {}
PointerInjector::~PointerInjector() = default;

std::unique_ptr<PointerInjector> PointerInjector::open(std::string& failure) {
    failure = Missing;
    return nullptr;
}
bool PointerInjector::moveTo(std::int32_t, std::int32_t) {
    return false;
}
bool PointerInjector::setLeftButton(bool) {
    return false;
}

} // namespace platform
