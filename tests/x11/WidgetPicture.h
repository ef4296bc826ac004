#pragma once
// What a platform widget (the line editor, the popup list) draws, as a
// picture to compare with what the server shows.

#include "platform/raster/Objects.h"
#include "tests/x11/X11Host.h"

template <class Widget> Picture widgetPicture(const Widget& widget, int width, int height) {
    platform::PixelMap* map = platform::raster::newPixelMap(width, height, false, 0);
    platform::DeviceContext* context = platform::raster::createTargetContext(map);
    widget.draw(context);
    platform::raster::deleteContext(context);
    Picture picture;
    picture.width = width;
    picture.height = height;
    picture.pixels.assign(map->pixels.begin(), map->pixels.end());
    platform::raster::freePixelMap(map);
    return picture;
}
