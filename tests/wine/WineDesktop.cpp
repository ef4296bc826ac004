#include "tests/wine/WineDesktop.h"

#include "tests/support/PngFile.h"
#include "tests/support/RunCommand.h"
#include "tests/support/VirtualDisplay.h"

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

bool exists(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0;
}

std::string prefixFolder() {
    const char* chosen = std::getenv("VARNEX_WINE_PREFIX_X11");
    return chosen && *chosen ? chosen : VARNEX_DEFAULT_WINE_PREFIX_X11;
}

} // namespace

WineDesktop& WineDesktop::shared() {
    static WineDesktop desktop;
    return desktop;
}

WineDesktop::WineDesktop() {
    for (const char* tool : {"wine", "wineserver", "wineboot", "xdotool", "xwd"})
        if (!programOnPath(tool)) {
            reason = std::string(tool) + " is not installed";
            return;
        }
    // The display first: it outlives this object, so that the wine
    // programs never see their X server go before their wineserver.
    VirtualDisplay& display = VirtualDisplay::shared();
    if (!display.available()) {
        reason = display.whyUnavailable();
        return;
    }
    prefix = prefixFolder();
    setenv("WINEPREFIX", prefix.c_str(), 1);
    setenv("WINEDEBUG", "-all", 1);
    // No installer dialogs for .NET or the browser engine, which would wait
    // for a click, and no menu entries written into the user's home.
    setenv("WINEDLLOVERRIDES", "mscoree,mshtml=;winemenubuilder.exe=d", 1);
    const std::string ready = prefix + "/.varnex-x11-ready";
    if (exists(ready))
        return;
    const CommandResult made =
        runCommand("mkdir -p " + shellQuoted(prefix) +
                   " && timeout 300 wineboot -i && timeout 60 wineserver -w");
    if (made.exitCode != 0) {
        reason = "cannot create the wine prefix " + prefix + ": " + made.err;
        return;
    }
    // A prefix set to the null graphics driver would show no windows.
    if (readFile(prefix + "/user.reg").find("\"Graphics\"=\"null\"") != std::string::npos) {
        reason = "the wine prefix " + prefix + " uses the null graphics driver";
        return;
    }
    std::ofstream(ready) << "wine prefix for the X11 driver\n";
}

WineDesktop::~WineDesktop() {
    if (prefix.empty())
        return;
    // Only this prefix's server and the programs it still runs.
    runCommand("wineserver -k; timeout 30 wineserver -w");
}

WineProgram::WineProgram(const std::string& folder, const std::vector<std::string>& arguments,
                         const std::string& scratch)
    : output(scratch + "/program.out") {
    std::vector<std::string> words{"wine"};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    process = fork();
    if (process == 0) {
        // A test program that dies takes the program with it.
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        const int out = open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int err = open((output + ".err").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(out, 1);
        dup2(err, 2);
        if (chdir(folder.c_str()) != 0)
            _exit(126);
        execvp("wine", argv.data());
        _exit(127);
    }
}

WineProgram::~WineProgram() {
    if (process <= 0)
        return;
    // Wine ends a program at once on SIGTERM.
    kill(process, SIGTERM);
    if (waitForExit(std::chrono::seconds(5)) < 0) {
        kill(process, SIGKILL);
        waitpid(process, nullptr, 0);
    }
}

std::vector<std::string> WineProgram::lines() const {
    std::vector<std::string> found = splitLines(readFile(output));
    for (std::string& line : found)
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
    return found;
}

std::string WineProgram::transcript() const {
    return readFile(output) + readFile(output + ".err");
}

int WineProgram::waitForExit(std::chrono::milliseconds timeout) {
    if (process <= 0)
        return exitStatus;
    int status = 0;
    const bool ended =
        eventually([&] { return waitpid(process, &status, WNOHANG) == process; }, timeout);
    if (!ended)
        return -1;
    process = -1;
    exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return exitStatus;
}

Picture Picture::crop(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h) const {
    Picture part;
    if (x < 0 || y < 0 || w <= 0 || h <= 0 || x + w > width || y + h > height)
        return part;
    part.width = w;
    part.height = h;
    for (std::int32_t row = y; row < y + h; ++row)
        part.pixels.insert(part.pixels.end(), pixels.begin() + row * width + x,
                           pixels.begin() + row * width + x + w);
    return part;
}

namespace {

std::uint32_t bigEndian(const std::string& data, std::size_t offset) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i)
        value = value << 8 | static_cast<unsigned char>(data[offset + i]);
    return value;
}

int lowestBit(std::uint32_t mask) {
    int shift = 0;
    while (mask && !(mask & 1)) {
        mask >>= 1;
        ++shift;
    }
    return shift;
}

// An XWD file of a true-colour screen: a big-endian header, a colour
// table, then rows of bytes_per_line bytes with 3 or 4 bytes per pixel.
Picture decodeXwd(const std::string& data) {
    Picture picture;
    if (data.size() < 100)
        return picture;
    const std::uint32_t headerSize = bigEndian(data, 0);
    const std::uint32_t format = bigEndian(data, 8);
    const auto width = static_cast<std::int32_t>(bigEndian(data, 16));
    const auto height = static_cast<std::int32_t>(bigEndian(data, 20));
    const std::uint32_t byteOrder = bigEndian(data, 28);
    const std::uint32_t bitsPerPixel = bigEndian(data, 44);
    const std::uint32_t bytesPerLine = bigEndian(data, 48);
    const std::uint32_t masks[3] = {bigEndian(data, 56), bigEndian(data, 60), bigEndian(data, 64)};
    const std::uint32_t colours = bigEndian(data, 76);
    const std::size_t bytesPerPixel = bitsPerPixel / 8;
    const std::size_t start = headerSize + colours * 12;
    if (format != 2 || (bytesPerPixel != 3 && bytesPerPixel != 4) ||
        data.size() < start + static_cast<std::size_t>(height) * bytesPerLine)
        return picture;
    picture.width = width;
    picture.height = height;
    picture.pixels.reserve(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    for (std::int32_t y = 0; y < height; ++y)
        for (std::int32_t x = 0; x < width; ++x) {
            const auto* p = reinterpret_cast<const unsigned char*>(data.data()) + start +
                            static_cast<std::size_t>(y) * bytesPerLine +
                            static_cast<std::size_t>(x) * bytesPerPixel;
            std::uint32_t value = 0;
            for (std::size_t i = 0; i < bytesPerPixel; ++i) {
                const std::size_t shift = byteOrder == 0 ? i : bytesPerPixel - 1 - i;
                value |= static_cast<std::uint32_t>(p[i]) << (8 * shift);
            }
            std::uint32_t rgb = 0;
            for (const std::uint32_t mask : masks)
                rgb = rgb << 8 | ((value & mask) >> lowestBit(mask) & 0xFF);
            picture.pixels.push_back(rgb);
        }
    return picture;
}

} // namespace

Picture screenshot() {
    static const std::string file = [] {
        char name[] = "/tmp/varnex-screen-XXXXXX";
        const int fd = mkstemp(name);
        if (fd >= 0)
            close(fd);
        return std::string(name);
    }();
    if (runCommand("xwd -root -silent -out " + shellQuoted(file)).exitCode != 0)
        return {};
    Picture picture = decodeXwd(readFile(file));
    unlink(file.c_str());
    return picture;
}

Picture readPng(const std::string& path) {
    const RgbImage image = readRgbPng(path);
    Picture picture;
    picture.width = static_cast<std::int32_t>(image.width);
    picture.height = static_cast<std::int32_t>(image.height);
    for (std::size_t i = 0; i + 2 < image.rgb.size(); i += 3)
        picture.pixels.push_back(static_cast<std::uint32_t>(image.rgb[i]) << 16 |
                                 static_cast<std::uint32_t>(image.rgb[i + 1]) << 8 |
                                 image.rgb[i + 2]);
    return picture;
}

std::int64_t differingPixels(const Picture& a, const Picture& b, std::string& where) {
    if (a.width != b.width || a.height != b.height) {
        std::ostringstream text;
        text << "sizes " << a.width << " x " << a.height << " and " << b.width << " x " << b.height;
        where = text.str();
        return std::max<std::int64_t>(a.pixels.size(), b.pixels.size());
    }
    std::int64_t count = 0;
    for (std::size_t i = 0; i < a.pixels.size(); ++i) {
        if (a.pixels[i] == b.pixels[i])
            continue;
        if (count++ == 0) {
            std::ostringstream text;
            text << "first at " << i % static_cast<std::size_t>(a.width) << ","
                 << i / static_cast<std::size_t>(a.width) << ": " << std::hex << a.pixels[i]
                 << " and " << b.pixels[i];
            where = text.str();
        }
    }
    return count;
}

bool eventually(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}
