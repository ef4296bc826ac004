#pragma once
// A private X server for one test program: Xvfb on a display number it
// picks itself, stopped by its own process id. Tests of real windows run
// on it; when Xvfb is not installed, `available()` is false and
// `whyUnavailable()` says so, for the test to skip with that reason.

#include <string>
#include <sys/types.h>
#include <vector>

class VirtualDisplay {
  public:
    // Starts Xvfb (1024 x 768, 24 bits) and waits up to 10 s until it
    // accepts connections. `serverOptions` go to Xvfb as well, for a server
    // without some extension, say ("-extension", "MIT-SHM").
    explicit VirtualDisplay(const std::vector<std::string>& serverOptions = {});
    // Stops exactly the server this object started.
    ~VirtualDisplay();
    VirtualDisplay(const VirtualDisplay&) = delete;
    VirtualDisplay& operator=(const VirtualDisplay&) = delete;

    bool available() const { return !name.empty(); }
    const std::string& whyUnavailable() const { return reason; }
    // ":N", for DISPLAY.
    const std::string& displayName() const { return name; }

    // One server for the whole test program, started on first use; also
    // sets DISPLAY for the program and the commands it runs.
    static VirtualDisplay& shared();

  private:
    pid_t server = -1;
    std::string name;
    std::string reason;
};

// True when `program` is found on PATH.
bool programOnPath(const std::string& program);
