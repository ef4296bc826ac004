// The gallery's table: the editor's embedded pictures and the strips,
// whose bytes are generated from resources/bitmaps at build time.

#include "resources/GalleryResourceTable.h"

#include "resources/ResourceTable.h"

#include <vector>

namespace resources {
#define VARNEX_DECLARE_BITMAP(id)                                                                  \
    extern const unsigned char bitmap##id[];                                                       \
    extern const std::size_t bitmap##id##Size;
VARNEX_DECLARE_BITMAP(120)
VARNEX_DECLARE_BITMAP(121)
VARNEX_DECLARE_BITMAP(122)
VARNEX_DECLARE_BITMAP(123)
VARNEX_DECLARE_BITMAP(124)
VARNEX_DECLARE_BITMAP(125)
VARNEX_DECLARE_BITMAP(126)
VARNEX_DECLARE_BITMAP(127)
VARNEX_DECLARE_BITMAP(128)
VARNEX_DECLARE_BITMAP(129)
VARNEX_DECLARE_BITMAP(130)
VARNEX_DECLARE_BITMAP(131)
VARNEX_DECLARE_BITMAP(132)
#undef VARNEX_DECLARE_BITMAP

namespace {

std::vector<platform::EmbeddedResource> combinedTable() {
    std::size_t editorCount = 0;
    const platform::EmbeddedResource* editor = bitmapTable(editorCount);
    std::vector<platform::EmbeddedResource> table(editor, editor + editorCount);
    table.insert(table.end(), {
                                  {120, bitmap120, bitmap120Size},
                                  {121, bitmap121, bitmap121Size},
                                  {122, bitmap122, bitmap122Size},
                                  {123, bitmap123, bitmap123Size},
                                  {124, bitmap124, bitmap124Size},
                                  {125, bitmap125, bitmap125Size},
                                  {126, bitmap126, bitmap126Size},
                                  {127, bitmap127, bitmap127Size},
                                  {128, bitmap128, bitmap128Size},
                                  {129, bitmap129, bitmap129Size},
                                  {130, bitmap130, bitmap130Size},
                                  {131, bitmap131, bitmap131Size},
                                  {132, bitmap132, bitmap132Size},
                              });
    return table;
}

} // namespace

const platform::EmbeddedResource* galleryBitmapTable(std::size_t& count) {
    static const std::vector<platform::EmbeddedResource> table = combinedTable();
    count = table.size();
    return table.data();
}

} // namespace resources
