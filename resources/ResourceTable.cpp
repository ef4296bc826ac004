// The table of embedded bitmap resources by number. The bytes are
// generated from resources/bitmaps at build time.

#include "resources/ResourceTable.h"

#include <cstddef>

namespace resources {
#define VARNEX_DECLARE_BITMAP(id)                                                                  \
    extern const unsigned char bitmap##id[];                                                       \
    extern const std::size_t bitmap##id##Size;
VARNEX_DECLARE_BITMAP(101)
VARNEX_DECLARE_BITMAP(102)
VARNEX_DECLARE_BITMAP(104)
VARNEX_DECLARE_BITMAP(106)
VARNEX_DECLARE_BITMAP(108)
VARNEX_DECLARE_BITMAP(109)
VARNEX_DECLARE_BITMAP(110)
VARNEX_DECLARE_BITMAP(111)
VARNEX_DECLARE_BITMAP(112)
#undef VARNEX_DECLARE_BITMAP

const platform::EmbeddedResource* bitmapTable(std::size_t& count) {
    static const platform::EmbeddedResource table[] = {
        {101, bitmap101, bitmap101Size}, {102, bitmap102, bitmap102Size},
        {104, bitmap104, bitmap104Size}, {106, bitmap106, bitmap106Size},
        {108, bitmap108, bitmap108Size}, {109, bitmap109, bitmap109Size},
        {110, bitmap110, bitmap110Size}, {111, bitmap111, bitmap111Size},
        {112, bitmap112, bitmap112Size},
    };
    count = sizeof table / sizeof table[0];
    return table;
}

} // namespace resources
