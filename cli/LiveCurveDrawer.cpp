#include "cli/LiveCurveDrawer.h"

#include "cli/CommandError.h"

#include <chrono>

namespace {

// How long the editor may take to answer a press, a move or a release: it
// sees the press at its next idle, and asks for idle at least every 50 ms
// while it tracks.
constexpr auto AnswerTimeout = std::chrono::seconds(3);
// A press that nothing answers within this long never reached the editor
// (the window system can drop input while a window is being set up); it
// is let go and given again, a few times.
constexpr auto PressTimeout = std::chrono::seconds(1);
constexpr int PressAttempts = 3;
// Moves between press and release, as a hand's drag reports them.
constexpr int DragSteps = 4;

std::string describe(const CurvePoint& point) {
    return std::to_string(static_cast<int>(point.x)) + "," +
           std::to_string(static_cast<int>(point.y));
}

} // namespace

LiveCurveDrawer::LiveCurveDrawer(std::vector<CurveGesture> planned, platform::IntPoint editorOrigin)
    : gestures(std::move(planned)), origin(editorOrigin) {
    std::string why;
    injector = platform::PointerInjector::open(why);
    if (!injector)
        throw CommandError("--curve: " + why);
}

LiveCurveDrawer::~LiveCurveDrawer() {
    stop();
}

void LiveCurveDrawer::start() {
    hand = std::thread([this] { run(); });
}

void LiveCurveDrawer::stop() {
    {
        std::lock_guard<std::mutex> guard(lock);
        stopping = true;
    }
    changed.notify_all();
    if (hand.joinable())
        hand.join();
}

void LiveCurveDrawer::noteTrackingIdle() {
    {
        std::lock_guard<std::mutex> guard(lock);
        ++seen.trackingIdles;
    }
    changed.notify_all();
}

void LiveCurveDrawer::noteParameterChange(std::int32_t index) {
    if (index != 0)
        return;
    {
        std::lock_guard<std::mutex> guard(lock);
        ++seen.curveChanges;
    }
    changed.notify_all();
}

bool LiveCurveDrawer::finished() const {
    std::lock_guard<std::mutex> guard(lock);
    return done;
}

std::string LiveCurveDrawer::failure() const {
    std::lock_guard<std::mutex> guard(lock);
    return problem;
}

LiveCurveDrawer::Counts LiveCurveDrawer::counts() const {
    std::lock_guard<std::mutex> guard(lock);
    return seen;
}

template <typename Reached>
bool LiveCurveDrawer::waitFor(Reached reached, std::chrono::milliseconds timeout) {
    std::unique_lock<std::mutex> guard(lock);
    return changed.wait_for(guard, timeout, [&] { return stopping || reached(seen); }) && !stopping;
}

bool LiveCurveDrawer::isStopping() const {
    std::lock_guard<std::mutex> guard(lock);
    return stopping;
}

platform::IntPoint LiveCurveDrawer::onScreen(const CurvePoint& point) const {
    const Point p = curvePointInEditor(point);
    return {origin.x + p.h, origin.y + p.v};
}

void LiveCurveDrawer::perform(const CurveGesture& gesture) {
    const platform::IntPoint press = onScreen(gesture.press);
    const platform::IntPoint release = onScreen(gesture.release);
    Counts before;
    const auto answered = [&](const Counts& c) {
        return c.trackingIdles > before.trackingIdles || c.curveChanges > before.curveChanges;
    };
    for (int attempt = 1;; ++attempt) {
        before = counts();
        injector->moveTo(press.x, press.y);
        injector->setLeftButton(true);
        if (waitFor(answered, PressTimeout))
            break;
        injector->setLeftButton(false);
        if (attempt == PressAttempts || isStopping())
            throw CommandError("--curve: no press at " + describe(gesture.press) +
                               " reached the editor");
    }
    // The editor has taken the press once its tracking loop asks for idle;
    // a report without that means it let go at once.
    if (!waitFor([&](const Counts& c) { return c.trackingIdles > before.trackingIdles; },
                 AnswerTimeout))
        throw CommandError("--curve: the editor did not track the press at " +
                           describe(gesture.press));
    for (int step = 1; step <= DragSteps; ++step) {
        injector->moveTo(press.x + (release.x - press.x) * step / DragSteps,
                         press.y + (release.y - press.y) * step / DragSteps);
    }
    // Two more requests for idle: at least one whole pass of the tracking
    // loop has read the pointer where the drag ends.
    const std::uint64_t moved = counts().trackingIdles;
    if (!waitFor([&](const Counts& c) { return c.trackingIdles >= moved + 2; }, AnswerTimeout))
        throw CommandError("--curve: the editor stopped tracking the drag to " +
                           describe(gesture.release));
    injector->setLeftButton(false);
    if (!waitFor([&](const Counts& c) { return c.curveChanges > before.curveChanges; },
                 AnswerTimeout))
        throw CommandError("--curve: the editor did not report the curve after the drag to " +
                           describe(gesture.release));
}

void LiveCurveDrawer::run() {
    try {
        for (const CurveGesture& gesture : gestures) {
            perform(gesture);
            std::lock_guard<std::mutex> guard(lock);
            if (stopping)
                break;
        }
    } catch (const CommandError& error) {
        injector->setLeftButton(false);
        std::lock_guard<std::mutex> guard(lock);
        if (!stopping)
            problem = error.what();
    }
    std::lock_guard<std::mutex> guard(lock);
    done = true;
}
