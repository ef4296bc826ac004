// X errors of this backend's connections: caught and counted, never passed
// to the host's handler (whose default ends the process). Errors of the
// host's own connections go on to the handler the host had.

#include "platform/x11/Backend.h"

#include <atomic>
#include <mutex>

namespace platform::x11 {
namespace {

// The innermost trap of the calling thread; traps of one thread nest.
thread_local ErrorTrap* innermost = nullptr;

std::mutex installing;
int liveTraps = 0;
std::atomic<XErrorHandler> previousHandler{nullptr};

} // namespace

ErrorTrap::ErrorTrap(Display* display) : display(display), outer(innermost) {
    innermost = this;
    std::lock_guard<std::mutex> lock(installing);
    if (liveTraps++ == 0)
        previousHandler.store(XSetErrorHandler(&ErrorTrap::onError));
}

ErrorTrap::~ErrorTrap() {
    innermost = outer;
    std::lock_guard<std::mutex> lock(installing);
    if (--liveTraps == 0)
        XSetErrorHandler(previousHandler.load());
}

int ErrorTrap::onError(Display* display, XErrorEvent* event) {
    // Errors of a connection arrive on the thread that reads its replies,
    // which is the thread that trapped it.
    for (ErrorTrap* trap = innermost; trap; trap = trap->outer) {
        if (trap->display == display) {
            ++trap->count;
            return 0;
        }
    }
    const XErrorHandler chained = previousHandler.load();
    return chained ? chained(display, event) : 0;
}

} // namespace platform::x11
