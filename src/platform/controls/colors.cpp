#include <array>

#include "platform/controls/control.h"
#include "platform/error.h"

namespace platform {

namespace {

constexpr Color rgb(unsigned r, unsigned g, unsigned b) { return r | (g << 8) | (b << 16); }

constexpr std::array<Color, 16> palette = {
    rgb(0x00, 0x00, 0x00),  // 0 black
    rgb(0x00, 0x00, 0x80),  // 1 navy
    rgb(0x00, 0x80, 0x00),  // 2 green
    rgb(0x00, 0x80, 0x80),  // 3 teal
    rgb(0x80, 0x00, 0x00),  // 4 maroon
    rgb(0x80, 0x00, 0x80),  // 5 purple
    rgb(0x80, 0x80, 0x00),  // 6 olive
    rgb(0xC0, 0xC0, 0xC0),  // 7 silver
    rgb(0x80, 0x80, 0x80),  // 8 grey
    rgb(0x00, 0x00, 0xFF),  // 9 blue
    rgb(0x00, 0xFF, 0x00),  // 10 lime
    rgb(0x00, 0xFF, 0xFF),  // 11 cyan
    rgb(0xFF, 0x00, 0x00),  // 12 red
    rgb(0xFF, 0x00, 0xFF),  // 13 magenta
    rgb(0xFF, 0xFF, 0x00),  // 14 yellow
    rgb(0xFF, 0xFF, 0xFF),  // 15 white
};

}  // namespace

Color qbColor(int n) {
    if (n < 0 || n > 15) raise(err::InvalidCall);
    return palette[static_cast<std::size_t>(n)];
}

}  // namespace platform
