#pragma once
// Windows programs in real windows for tests: wine's X11 driver on the test
// program's private Xvfb, in a wine prefix of the tests' own, and the
// screen read back pixel by pixel. Every wait is for something the program
// or the screen shows, with a bounded timeout.

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <sys/types.h>
#include <vector>

// The private display and the wine prefix, made ready once per test
// program. The prefix (wineboot -i, about 20 s) is kept between runs;
// its wineserver is stopped when the program ends.
class WineDesktop {
  public:
    static WineDesktop& shared();
    ~WineDesktop();
    WineDesktop(const WineDesktop&) = delete;
    WineDesktop& operator=(const WineDesktop&) = delete;

    bool available() const { return reason.empty(); }
    const std::string& whyUnavailable() const { return reason; }

  private:
    WineDesktop();
    std::string prefix;
    std::string reason;
};

// A program started under wine in `folder`, its output collected in a file
// of `scratch`. The destructor ends it by its process id.
class WineProgram {
  public:
    WineProgram(const std::string& folder, const std::vector<std::string>& arguments,
                const std::string& scratch);
    ~WineProgram();
    WineProgram(const WineProgram&) = delete;
    WineProgram& operator=(const WineProgram&) = delete;

    // What it printed so far, line by line, without line ends.
    std::vector<std::string> lines() const;
    // All it printed so far, its errors last: for failure messages.
    std::string transcript() const;
    // Its exit status once it ended within the timeout, else -1.
    int waitForExit(std::chrono::milliseconds timeout);
    bool hasEnded() { return waitForExit(std::chrono::milliseconds(0)) >= 0; }

  private:
    pid_t process = -1;
    int exitStatus = -1;
    std::string output;
};

// An RGB picture, each pixel red << 16 | green << 8 | blue.
struct Picture {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::vector<std::uint32_t> pixels;

    Picture crop(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h) const;
    bool operator==(const Picture&) const = default;
};

// The whole screen (xwd -root); empty when it cannot be read.
Picture screenshot();
// A PNG file; empty when it cannot be read.
Picture readPng(const std::string& path);
// How many pixels differ, with the first difference described in `where`;
// pictures of different sizes differ in every pixel.
std::int64_t differingPixels(const Picture& a, const Picture& b, std::string& where);

// Polls `condition` every few milliseconds until it holds or the time is up.
bool eventually(const std::function<bool()>& condition, std::chrono::milliseconds timeout);
