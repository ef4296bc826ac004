// Showing a window's backing picture: the raster's colour words turned into
// the visual's pixels in an image, and the image's changed box sent to the
// window, through shared memory where the server allows it.

#include "platform/raster/Objects.h"
#include "platform/x11/Backend.h"

#include <X11/Xutil.h>
#include <sys/ipc.h>
#include <sys/shm.h>

#include <algorithm>
#include <bit>
#include <cstdlib>
#include <cstring>

namespace platform::x11 {
namespace {

void maskField(unsigned long mask, int& shift, int& bits) {
    shift = mask ? std::countr_zero(mask) : 0;
    bits = std::popcount(mask);
}

// An 8-bit colour part scaled to `bits` bits and moved to its place.
unsigned long placePart(unsigned int value, int bits, int shift) {
    if (bits <= 0)
        return 0;
    unsigned long scaled;
    if (bits >= 8)
        scaled = static_cast<unsigned long>(value) << (bits - 8) |
                 (bits > 8 ? static_cast<unsigned long>(value) >> (16 - std::min(bits, 16)) : 0);
    else
        scaled = value >> (8 - bits);
    return scaled << shift;
}

constexpr int nativeByteOrder = std::endian::native == std::endian::little ? LSBFirst : MSBFirst;

} // namespace

PixelLayout PixelLayout::of(const Visual* visual, int depth, const XImage* image) {
    PixelLayout layout;
    maskField(visual->red_mask, layout.redShift, layout.redBits);
    maskField(visual->green_mask, layout.greenShift, layout.greenBits);
    maskField(visual->blue_mask, layout.blueShift, layout.blueBits);
    const unsigned long colourBits = visual->red_mask | visual->green_mask | visual->blue_mask;
    const unsigned long depthBits = depth >= 32 ? 0xFFFFFFFFul : (1ul << depth) - 1;
    // A visual with alpha shows our pixels opaque.
    layout.opaqueBits = depthBits & ~colourBits;
    layout.direct = image->bits_per_pixel == 32 && image->byte_order == nativeByteOrder &&
                    layout.redBits == 8 && layout.greenBits == 8 && layout.blueBits == 8;
    return layout;
}

unsigned long PixelLayout::pixel(ColorWord color) const {
    return placePart(redOf(color), redBits, redShift) |
           placePart(greenOf(color), greenBits, greenShift) |
           placePart(blueOf(color), blueBits, blueShift) | opaqueBits;
}

bool Presenter::create(Display* display, ::Window window, Visual* visual, int depth, int width,
                       int height) {
    gc = XCreateGC(display, window, 0, nullptr);
    if (!gc)
        return false;
    XSetGraphicsExposures(display, gc, False);
    if (XShmQueryExtension(display)) {
        image = XShmCreateImage(display, visual, static_cast<unsigned int>(depth), ZPixmap, nullptr,
                                &segment, static_cast<unsigned int>(width),
                                static_cast<unsigned int>(height));
    }
    if (image) {
        const auto bytes = static_cast<std::size_t>(image->bytes_per_line) *
                           static_cast<std::size_t>(image->height);
        segment.shmid = shmget(IPC_PRIVATE, bytes, IPC_CREAT | 0600);
        segment.shmaddr = reinterpret_cast<char*>(-1);
        if (segment.shmid >= 0) {
            segment.shmaddr = static_cast<char*>(shmat(segment.shmid, nullptr, 0));
            if (segment.shmaddr != reinterpret_cast<char*>(-1)) {
                image->data = segment.shmaddr;
                segment.readOnly = False;
                // A server on another machine refuses the segment, and says
                // so only in an error that comes later: wait for it here.
                XSync(display, False);
                ErrorTrap attaching(display);
                const Bool attached = XShmAttach(display, &segment);
                XSync(display, False);
                shared = attached && attaching.errors() == 0;
            }
            // Freed by the system once both sides have let go of it.
            shmctl(segment.shmid, IPC_RMID, nullptr);
        }
        if (!shared) {
            if (segment.shmaddr != reinterpret_cast<char*>(-1))
                shmdt(segment.shmaddr);
            image->data = nullptr;
            XDestroyImage(image);
            image = nullptr;
        }
    }
    if (!image) {
        image = XCreateImage(display, visual, static_cast<unsigned int>(depth), ZPixmap, 0, nullptr,
                             static_cast<unsigned int>(width), static_cast<unsigned int>(height),
                             32, 0);
        if (!image)
            return false;
        const auto bytes = static_cast<std::size_t>(image->bytes_per_line) *
                           static_cast<std::size_t>(image->height);
        image->data = static_cast<char*>(std::calloc(bytes, 1));
        if (!image->data) {
            XDestroyImage(image);
            image = nullptr;
            return false;
        }
    }
    layout = PixelLayout::of(visual, depth, image);
    return true;
}

void Presenter::destroy(Display* display) {
    if (image) {
        if (shared) {
            XShmDetach(display, &segment);
            XSync(display, False);
            shmdt(segment.shmaddr);
            image->data = nullptr;
        }
        XDestroyImage(image);
        image = nullptr;
    }
    if (gc)
        XFreeGC(display, gc);
    gc = nullptr;
    shared = busy = false;
}

void Presenter::convert(const PixelMap& picture, const IntRect& box) {
    const auto width = static_cast<std::size_t>(picture.width);
    if (layout.direct) {
        const auto place = [this](ColorWord c) {
            return static_cast<std::uint32_t>(
                (c & 0xFFu) << layout.redShift | ((c >> 8) & 0xFFu) << layout.greenShift |
                ((c >> 16) & 0xFFu) << layout.blueShift | layout.opaqueBits);
        };
        for (std::int32_t y = box.top; y < box.bottom; ++y) {
            const ColorWord* from =
                picture.pixels.data() + static_cast<std::size_t>(y) * width + box.left;
            auto* to = reinterpret_cast<std::uint32_t*>(
                           image->data + static_cast<std::ptrdiff_t>(y) * image->bytes_per_line) +
                       box.left;
            for (std::int32_t x = box.left; x < box.right; ++x)
                *to++ = place(*from++);
        }
        return;
    }
    for (std::int32_t y = box.top; y < box.bottom; ++y)
        for (std::int32_t x = box.left; x < box.right; ++x)
            XPutPixel(image, x, y,
                      layout.pixel(picture.pixels[static_cast<std::size_t>(y) * width +
                                                  static_cast<std::size_t>(x)]));
}

void Presenter::show(Display* display, ::Window window, const PixelMap& picture, IntRect box) {
    if (!image || !gc)
        return;
    box.left = std::max(box.left, 0);
    box.top = std::max(box.top, 0);
    box.right = std::min({box.right, picture.width, image->width});
    box.bottom = std::min({box.bottom, picture.height, image->height});
    if (box.left >= box.right || box.top >= box.bottom)
        return;
    // The server reads a shared image when it gets to the request: before
    // writing into it again, wait until it has.
    if (busy) {
        XSync(display, False);
        busy = false;
    }
    convert(picture, box);
    const auto w = static_cast<unsigned int>(box.right - box.left);
    const auto h = static_cast<unsigned int>(box.bottom - box.top);
    if (shared) {
        XShmPutImage(display, window, gc, image, box.left, box.top, box.left, box.top, w, h, False);
        busy = true;
    } else {
        XPutImage(display, window, gc, image, box.left, box.top, box.left, box.top, w, h);
    }
    XFlush(display);
}

} // namespace platform::x11
