#include "cli/ControlGallery.h"

#include "cli/GalleryCatalogue.h"
#include "gui/Control.h"
#include "gui/DrawContext.h"
#include "gui/Frame.h"
#include "platform/Headless.h"
#include "platform/Windowing.h"
#include "resources/GalleryResourceTable.h"

#include <algorithm>
#include <cstring>
#include <memory>

namespace {

// The layout, in pixels.
constexpr std::int32_t margin = 16;        // around the whole gallery
constexpr std::int32_t boxGap = 12;        // between two class boxes
constexpr std::int32_t padding = 12;       // inside a class box
constexpr std::int32_t specimenGap = 14;   // between two controls of a class
constexpr std::int32_t captionHeight = 14; // a control's state, under it
constexpr std::int32_t nameHeight = 18;    // the class name, at the box's foot
constexpr std::int32_t captionLetter = 6;  // width of a caption letter, at most
constexpr std::int32_t nameLetter = 8;     // width of a class name letter, at most

constexpr FontId nameFont = 0;    // bold, 12 pixels
constexpr FontId captionFont = 4; // 11 pixels

// The editor's panel colours.
constexpr Color panel{38, 41, 46, 0};
constexpr Color boxFill{25, 27, 31, 0};
constexpr Color boxEdge{58, 62, 69, 0};
constexpr Color nameInk{208, 212, 218, 0};
constexpr Color captionInk{138, 145, 155, 0};

std::int32_t textWidth(const std::string& text, std::int32_t letter) {
    return static_cast<std::int32_t>(text.size()) * letter;
}

// A line of text centred in its rectangle.
class Label : public View {
  public:
    Label(const Rect& size, std::string text, FontId font, Color ink)
        : View(size), text(std::move(text)), font(font), ink(ink) {}
    void draw(DrawContext& context) override {
        context.selectFont(font);
        context.setInkColor(ink);
        context.drawText(text.c_str(), size, 0, AlignCenter);
    }

  private:
    std::string text;
    FontId font;
    Color ink;
};

// The panel and one outlined box per class, under everything else.
class Backdrop : public View {
  public:
    Backdrop(const Rect& size, std::vector<Rect> boxes) : View(size), boxes(std::move(boxes)) {}
    void draw(DrawContext& context) override {
        context.setPaintColor(panel);
        context.paintRect({size.left - 1, size.top - 1, size.right, size.bottom});
        context.setPaintColor(boxFill);
        context.setPenColor(boxEdge);
        for (const Rect& box : boxes) {
            context.paintRect(box);
            context.strokeRect(box);
        }
    }

  private:
    std::vector<Rect> boxes;
};

// Where one specimen and its caption go.
struct Placed {
    const Specimen* specimen;
    Rect control;
    Rect caption;
};

// A class's box: its controls placed relative to the box's top-left.
struct ExhibitBox {
    const Exhibit* exhibit = nullptr;
    std::int32_t width = 0;
    std::int32_t contentHeight = 0;
    std::vector<Placed> placed;
};

std::int32_t cellWidth(const Specimen& s) {
    return std::max(s.width, textWidth(s.caption, captionLetter));
}

ExhibitBox arrange(const Exhibit& exhibit) {
    ExhibitBox box;
    box.exhibit = &exhibit;
    const auto& specimens = exhibit.specimens;
    std::int32_t contentWidth = 0;
    std::int32_t tallest = 0;
    for (const Specimen& s : specimens) {
        tallest = std::max(tallest, s.height);
        contentWidth = exhibit.stacked ? std::max(contentWidth, cellWidth(s))
                                       : contentWidth + cellWidth(s) + specimenGap;
    }
    if (!exhibit.stacked)
        contentWidth -= specimenGap;
    box.width = std::max(contentWidth, textWidth(exhibit.className, nameLetter)) + 2 * padding;

    // Side by side: centred on one line, captions on one line under the
    // tallest. One below the other: each centred, its caption under it.
    std::int32_t x = (box.width - contentWidth) / 2;
    std::int32_t y = padding;
    for (const Specimen& s : specimens) {
        const std::int32_t cell = exhibit.stacked ? contentWidth : cellWidth(s);
        const std::int32_t left = x + (cell - s.width) / 2;
        const std::int32_t top = exhibit.stacked ? y : y + (tallest - s.height) / 2;
        const std::int32_t captionTop = exhibit.stacked ? y + s.height : y + tallest;
        box.placed.push_back({&s,
                              {left, top, left + s.width, top + s.height},
                              {x, captionTop + 2, x + cell, captionTop + 2 + captionHeight}});
        if (exhibit.stacked)
            y += s.height + captionHeight + specimenGap / 2;
        else
            x += cell + specimenGap;
    }
    box.contentHeight = exhibit.stacked ? y - specimenGap / 2 + padding / 2
                                        : padding + tallest + captionHeight + padding / 2;
    return box;
}

Rect moved(const Rect& r, std::int32_t dx, std::int32_t dy) {
    return {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
}

// The views of the gallery in drawing order, and the frame's size.
struct Scene {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::vector<Rect> boxes;
    std::vector<std::unique_ptr<View>> views;
    int controlCount = 0;
};

Scene compose(const std::vector<ExhibitRow>& rows) {
    Scene scene;
    std::int32_t top = margin;
    for (const ExhibitRow& row : rows) {
        std::vector<ExhibitBox> boxes;
        std::int32_t rowHeight = 0;
        for (const Exhibit& exhibit : row) {
            boxes.push_back(arrange(exhibit));
            rowHeight = std::max(rowHeight, boxes.back().contentHeight + nameHeight + padding / 2);
        }
        // Boxes of a row are equally tall, with the class names at their
        // feet and the controls centred in the space above.
        std::int32_t left = margin;
        for (const ExhibitBox& box : boxes) {
            const Rect outline{left, top, left + box.width, top + rowHeight};
            scene.boxes.push_back(outline);
            const std::int32_t down =
                top + (rowHeight - nameHeight - padding / 2 - box.contentHeight) / 2;
            for (const Placed& placed : box.placed) {
                scene.views.emplace_back(placed.specimen->make(moved(placed.control, left, down)));
                scene.views.push_back(std::make_unique<Label>(moved(placed.caption, left, down),
                                                              placed.specimen->caption, captionFont,
                                                              captionInk));
                ++scene.controlCount;
            }
            const Rect name{outline.left, outline.bottom - nameHeight - padding / 2, outline.right,
                            outline.bottom - padding / 2};
            scene.views.push_back(
                std::make_unique<Label>(name, box.exhibit->className, nameFont, nameInk));
            left = outline.right + boxGap;
        }
        scene.width = std::max(scene.width, left - boxGap + margin);
        top += rowHeight + boxGap;
    }
    scene.height = top - boxGap + margin;
    return scene;
}

} // namespace

ControlGallery drawControlGallery() {
    resources::useGalleryBitmaps();
    const GalleryPictures pictures;
    const std::vector<ExhibitRow> rows = galleryCatalogue(pictures);
    Scene scene = compose(rows);

    platform::Window* host = platform::headless::createHostWindow(0, 0, scene.width, scene.height);
    auto* frame = new Frame({0, 0, scene.width, scene.height}, host, nullptr);
    frame->attachView(new Backdrop({0, 0, scene.width, scene.height}, scene.boxes));
    for (std::unique_ptr<View>& view : scene.views)
        if (frame->attachView(view.get()))
            view.release();
    platform::headless::deliverPaint(frame->window());

    ControlGallery gallery;
    gallery.picture.pixels = platform::headless::windowPixels(
        frame->window(), gallery.picture.width, gallery.picture.height);
    gallery.controlCount = scene.controlCount;
    for (const ExhibitRow& row : rows)
        gallery.classCount += static_cast<int>(row.size());
    delete frame;
    platform::destroyWindow(host);
    return gallery;
}
