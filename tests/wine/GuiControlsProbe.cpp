// A Windows program for the tests under wine: the toolkit's text field and
// choice menu in a frame inside a host window, on the Win32 window
// backend. It prints one line for each thing a test can wait for:
//
//   field L T R B / menu L T R B   the controls' screen rectangles, at the start
//   ready                          the controls wait for the user
//   editing, edit closed           the field's edit window opened, went away
//   text T                         the listener heard that the text became T
//   choice N                       the listener heard that entry N was chosen
//
// The menu's entries are "a", "-", "b"; "a" is current at the start.

#include "gui/ChoiceMenu.h"
#include "gui/Frame.h"
#include "gui/TextField.h"
#include "platform/HostWindow.h"
#include "platform/Windowing.h"

#include <chrono>
#include <cstdio>

namespace {

constexpr std::int32_t FrameWidth = 320;
constexpr std::int32_t FrameHeight = 200;
constexpr Rect FieldBox{20, 20, 180, 44};
constexpr Rect MenuBox{20, 100, 180, 124};

class Reporter : public ControlListener {
  public:
    TextField* field = nullptr;
    ChoiceMenu* menu = nullptr;

    void controlChanged(DrawContext&, Control* control) override {
        char text[TextField::textCapacity];
        if (control == field) {
            field->text(text);
            std::printf("text %s\n", text);
        } else if (control == menu) {
            std::printf("choice %d\n", menu->currentItem(text));
        }
        std::fflush(stdout);
    }
};

void sayBox(const char* name, platform::Window* frameWindow, const Rect& box) {
    platform::IntPoint corners[2] = {{box.left, box.top}, {box.right, box.bottom}};
    platform::mapWindowPoints(frameWindow, nullptr, corners, 2);
    std::printf("%s %d %d %d %d\n", name, corners[0].x, corners[0].y, corners[1].x, corners[1].y);
}

} // namespace

int main() {
    platform::useBinaryStandardStreams();
    std::string failure;
    auto host = platform::HostWindow::open("GuiControlsProbe", FrameWidth, FrameHeight, failure);
    if (!host) {
        std::printf("error %s\n", failure.c_str());
        return 1;
    }
    Reporter reporter;
    {
        Frame frame(Rect{0, 0, FrameWidth, FrameHeight}, host->nativeHandle(), nullptr);
        reporter.field = new TextField(FieldBox, &reporter, 1, "", nullptr, 0);
        reporter.menu =
            new ChoiceMenu(MenuBox, &reporter, 2, nullptr, nullptr, choiceMenuStyle::checkCurrent);
        for (const char* entry : {"a", "-", "b"})
            reporter.menu->insertItem(entry);
        frame.attachView(reporter.field);
        frame.attachView(reporter.menu);
        sayBox("field", frame.window(), FieldBox);
        sayBox("menu", frame.window(), MenuBox);
        std::printf("ready\n");
        std::fflush(stdout);

        bool editing = false;
        const auto end = std::chrono::steady_clock::now() + std::chrono::minutes(2);
        while (host->pumpEvents(20) && std::chrono::steady_clock::now() < end) {
            frame.pump();
            if (editing != (reporter.field->editWindow() != nullptr)) {
                editing = !editing;
                std::printf(editing ? "editing\n" : "edit closed\n");
                std::fflush(stdout);
            }
        }
    }
    return 0;
}
