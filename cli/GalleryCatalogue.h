#pragma once
// What the gallery shows: for each control class, a few controls in
// different states, made from the gallery's pictures, in rows.

#include "gui/Geometry.h"

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

class Bitmap;
class Control;

// The pictures the gallery's controls are made from, loaded once; each
// control retains the ones it is given.
class GalleryPictures {
  public:
    // Loads every picture; a CommandError for one that is missing.
    GalleryPictures();
    ~GalleryPictures();
    GalleryPictures(const GalleryPictures&) = delete;
    GalleryPictures& operator=(const GalleryPictures&) = delete;

    Bitmap* operator[](std::int32_t id) const { return pictures.at(id); }

  private:
    std::map<std::int32_t, Bitmap*> pictures;
};

// One control in one state: its size and how to make it at a place.
struct Specimen {
    std::string caption;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::function<Control*(const Rect& size)> make;
};

// The controls of one class, side by side or one below the other.
struct Exhibit {
    const char* className;
    std::vector<Specimen> specimens;
    bool stacked = false;
};

using ExhibitRow = std::vector<Exhibit>;

// The editor's controls first, then the further ones.
std::vector<ExhibitRow> galleryCatalogue(const GalleryPictures& pictures);
