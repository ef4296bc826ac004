#pragma once
// A colour picture selected into a memory context, for drawing tests.

#include "platform/Diagnostics.h"
#include "platform/Drawing.h"

#include <gtest/gtest.h>

#include <string>

class RasterFixture : public ::testing::Test {
  protected:
    static constexpr platform::ColorWord paper = 0x00FFFFFF;
    // The stock pen draws black.
    static constexpr platform::ColorWord ink = 0x00000000;

    void SetUp() override { makeSurface(40, 40); }

    void makeSurface(int width, int height) {
        freeSurface();
        context = platform::createMemoryContext(nullptr);
        map = platform::createCompatiblePixelMap(nullptr, width, height);
        platform::selectPixelMap(context, map);
        platform::Brush* white = platform::createSolidBrush(paper);
        platform::fillRect(context, {0, 0, width, height}, white);
        platform::deleteBrush(white);
    }

    void TearDown() override { freeSurface(); }

    void freeSurface() {
        if (!context)
            return;
        // Whatever pen and brush a test left selected go with the context;
        // stock objects refuse deletion.
        platform::Pen* pen = platform::currentPen(context);
        platform::Brush* brush = platform::currentBrush(context);
        platform::deleteMemoryContext(context);
        platform::deletePen(pen);
        platform::deleteBrush(brush);
        platform::deletePixelMap(map);
        context = nullptr;
        map = nullptr;
    }

    platform::ColorWord at(int x, int y) { return platform::pixel(context, x, y); }

    // The surface as rows of '#' (not paper) and '.' (paper), for readable
    // expectations about small shapes.
    std::string rows(int left, int top, int right, int bottom) {
        std::string out;
        for (int y = top; y < bottom; ++y) {
            for (int x = left; x < right; ++x)
                out += at(x, y) == paper ? '.' : '#';
            out += '\n';
        }
        return out;
    }

    int countInk(int width, int height) {
        int n = 0;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                n += at(x, y) != paper;
        return n;
    }

    void usePen(platform::PenStyle style, int width, platform::ColorWord color) {
        platform::Pen* pen = platform::createPen(style, width, color);
        platform::Pen* previous = platform::selectPen(context, pen);
        if (previous)
            platform::deletePen(previous);
    }

    void useBrush(platform::ColorWord color) {
        platform::Brush* brush = platform::createSolidBrush(color);
        platform::Brush* previous = platform::selectBrush(context, brush);
        if (previous)
            platform::deleteBrush(previous);
    }

    platform::DeviceContext* context = nullptr;
    platform::PixelMap* map = nullptr;
};
