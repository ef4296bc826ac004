#include "cli/LiveCurveDrawer.h"

#include "cli/CommandError.h"

#include <chrono>

namespace {

// How long the editor may take to answer a press, a move or a release: it
// sees the press at its next idle, and asks for idle at least every 50 ms
// while it tracks.
constexpr auto AnswerTimeout = std::chrono::seconds(3);
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

template <typename Reached> bool LiveCurveDrawer::waitFor(Reached reached) {
    std::unique_lock<std::mutex> guard(lock);
    return changed.wait_for(guard, AnswerTimeout, [&] { return stopping || reached(seen); }) &&
           !stopping;
}

platform::IntPoint LiveCurveDrawer::onScreen(const CurvePoint& point) const {
    const Point p = curvePointInEditor(point);
    return {origin.x + p.h, origin.y + p.v};
}

void LiveCurveDrawer::perform(const CurveGesture& gesture) {
    const platform::IntPoint press = onScreen(gesture.press);
    const platform::IntPoint release = onScreen(gesture.release);
    const Counts before = counts();
    injector->moveTo(press.x, press.y);
    injector->setLeftButton(true);
    // The editor has taken the press once its tracking loop asks for idle.
    if (!waitFor([&](const Counts& c) { return c.trackingIdles > before.trackingIdles; }))
        throw CommandError("--curve: the editor did not take the press at " +
                           describe(gesture.press));
    for (int step = 1; step <= DragSteps; ++step) {
        injector->moveTo(press.x + (release.x - press.x) * step / DragSteps,
                         press.y + (release.y - press.y) * step / DragSteps);
    }
    // Two more requests for idle: at least one whole pass of the tracking
    // loop has read the pointer where the drag ends.
    const std::uint64_t moved = counts().trackingIdles;
    if (!waitFor([&](const Counts& c) { return c.trackingIdles >= moved + 2; }))
        throw CommandError("--curve: the editor stopped tracking the drag to " +
                           describe(gesture.release));
    injector->setLeftButton(false);
    if (!waitFor([&](const Counts& c) { return c.curveChanges > before.curveChanges; }))
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
