#pragma once
// Enters a curve on Varnex's editor in a real window with the real pointer,
// as a user's hand would: presses, moves and releases injected into the
// window system from a thread of its own, because while the button is
// down the editor's mouse-tracking loop holds the window's thread. The
// editor's calls to the host pace the hand: a tracking loop asks the host
// for idle time on its passes, and a gesture on the curve ends with the
// editor reporting parameter 0.

#include "cli/CurveGestures.h"
#include "platform/HostWindow.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class LiveCurveDrawer {
  public:
    // `editorOrigin`: the screen position of the editor's client area.
    // A CommandError when the pointer cannot be injected.
    LiveCurveDrawer(std::vector<CurveGesture> gestures, platform::IntPoint editorOrigin);
    // Stops the hand (letting go of the button) and waits for its thread.
    ~LiveCurveDrawer();
    LiveCurveDrawer(const LiveCurveDrawer&) = delete;
    LiveCurveDrawer& operator=(const LiveCurveDrawer&) = delete;

    void start();
    void stop();

    // From the host callback, on the editor's thread.
    void noteTrackingIdle();
    void noteParameterChange(std::int32_t index);

    bool finished() const;
    // Why the curve could not be entered; empty while all went well.
    std::string failure() const;

  private:
    struct Counts {
        std::uint64_t trackingIdles = 0;
        std::uint64_t curveChanges = 0;
    };
    void run();
    void perform(const CurveGesture& gesture);
    // Waits until `reached` holds for the counts; false on timeout or stop.
    template <typename Reached> bool waitFor(Reached reached, std::chrono::milliseconds timeout);
    bool isStopping() const;
    platform::IntPoint onScreen(const CurvePoint& point) const;
    Counts counts() const;

    std::vector<CurveGesture> gestures;
    platform::IntPoint origin;
    std::unique_ptr<platform::PointerInjector> injector;
    mutable std::mutex lock;
    std::condition_variable changed;
    Counts seen;
    bool stopping = false;
    bool done = false;
    std::string problem;
    std::thread hand;
};
