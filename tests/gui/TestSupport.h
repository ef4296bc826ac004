#pragma once
// Helpers shared by the toolkit's tests: a host window to put frames in,
// views that record what happens to them, and pixel access.

#include "gui/DrawContext.h"
#include "gui/Frame.h"
#include "gui/View.h"
#include "platform/Drawing.h"
#include "platform/Headless.h"
#include "platform/Windowing.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// A view that notes its calls in a shared journal as "name:call".
class RecordingView : public View {
  public:
    RecordingView(const Rect& size, std::string name, std::vector<std::string>& journal,
                  bool* destroyed = nullptr)
        : View(size), name(std::move(name)), journal(journal), destroyed(destroyed) {}
    ~RecordingView() override {
        if (destroyed)
            *destroyed = true;
    }
    void draw(DrawContext&) override { journal.push_back(name + ":draw"); }
    void mouseDown(DrawContext&, Point where) override {
        journal.push_back(name + ":press " + std::to_string(where.h) + "," +
                          std::to_string(where.v));
    }
    void refresh(DrawContext&) override { journal.push_back(name + ":refresh"); }
    void releaseFocus() override { journal.push_back(name + ":releaseFocus"); }

    std::string name;
    std::vector<std::string>& journal;
    bool* destroyed;
};

// A host window at a fixed screen position, torn down after each test, and
// a check that no drawing object or context leaked.
class HostWindowTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    Frame* makeFrame(const Rect& size = {0, 0, 568, 290});
    platform::ColorWord windowPixel(platform::Window* window, int x, int y);

    platform::Window* host = nullptr;
    std::vector<std::string> journal;
    int objectsBefore = 0;
    int contextsBefore = 0;
};
