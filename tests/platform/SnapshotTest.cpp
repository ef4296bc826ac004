#include "platform/Snapshot.h"
#include "platform/Drawing.h"
#include "platform/Headless.h"
#include "platform/Windowing.h"

#include <gtest/gtest.h>
#include <png.h>

#include <cstdio>
#include <filesystem>

TEST(Snapshot, WindowPixelsRoundTripThroughAPngFile) {
    platform::Window* window = platform::headless::createHostWindow(0, 0, 3, 2);
    platform::DeviceContext* context = platform::windowContext(window);
    platform::setPixel(context, 0, 0, platform::colorWord(10, 20, 30));
    platform::setPixel(context, 2, 1, platform::colorWord(200, 100, 50));
    platform::releaseWindowContext(window, context);
    const auto path =
        (std::filesystem::temp_directory_path() / "varnex-snapshot-test.png").string();
    ASSERT_TRUE(platform::writeWindowPng(path, window));
    platform::destroyWindow(window);

    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_file(&image, path.c_str()));
    image.format = PNG_FORMAT_RGB;
    std::vector<png_byte> pixels(PNG_IMAGE_SIZE(image));
    ASSERT_TRUE(png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr));
    EXPECT_EQ(image.width, 3u);
    EXPECT_EQ(image.height, 2u);
    EXPECT_EQ(pixels[0], 10);
    EXPECT_EQ(pixels[1], 20);
    EXPECT_EQ(pixels[2], 30);
    EXPECT_EQ(pixels[15], 200);
    EXPECT_EQ(pixels[16], 100);
    EXPECT_EQ(pixels[17], 50);
    std::filesystem::remove(path);
}

TEST(Snapshot, NothingIsWrittenForAMissingWindowOrAnUnwritablePath) {
    EXPECT_FALSE(platform::writeWindowPng("/tmp/varnex-never.png", nullptr));
    EXPECT_FALSE(std::filesystem::exists("/tmp/varnex-never.png"));
    EXPECT_FALSE(platform::writePng("/nonexistent-directory/x.png", {0}, 1, 1));
    EXPECT_FALSE(platform::writePng("/tmp/varnex-never.png", {0, 0}, 1, 1)); // size mismatch
}
