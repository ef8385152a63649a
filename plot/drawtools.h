#pragma once
// Drawing tools as plain values: colours, pens and fonts, as the plot record keeps them.
#include <cstdint>
#include <string>

class QFont;

namespace quor {

// A 32-bit colour value: red in the low byte, then green, then blue.
using tcolour = std::uint32_t;
inline constexpr tcolour black = 0x000000;
inline constexpr tcolour white = 0xFFFFFF;
inline constexpr tcolour silver = 0xC0C0C0;

inline constexpr tcolour makecolour(int r, int g, int b)
{
    return tcolour(r & 0xFF) | tcolour(g & 0xFF) << 8 | tcolour(b & 0xFF) << 16;
}
inline constexpr int redof(tcolour c) { return int(c & 0xFF); }
inline constexpr int greenof(tcolour c) { return int(c >> 8 & 0xFF); }
inline constexpr int blueof(tcolour c) { return int(c >> 16 & 0xFF); }

// The sixteen binary raster operations, numbered as the settings dialog numbers them.
// P is the pen colour, D the pixel under it.
enum class trastermode : std::uint8_t {
    black,         // 0
    white,         // 1
    nop,           // D
    invert,        // ~D
    copy,          // P
    notcopy,       // ~P
    mergepennot,   // P | ~D
    maskpennot,    // P & ~D
    mergenotpen,   // ~P | D
    masknotpen,    // ~P & D
    merge,         // P | D
    notmerge,      // ~(P | D)
    mask,          // P & D
    notmask,       // ~(P & D)
    xorpen,        // P ^ D
    notxor,        // ~(P ^ D)
};
inline constexpr int rastermodecount = 16;

// Combines pen colour p with pixel d (24-bit RGB values) by mode; the result is 24-bit.
std::uint32_t applyraster(trastermode mode, std::uint32_t p, std::uint32_t d);

enum class tpenstyle : std::uint8_t { solid, dash, dot, dashdot };

struct tpen {
    tcolour colour = black;
    int width = 1;
    trastermode mode = trastermode::copy;
    tpenstyle style = tpenstyle::solid;
    bool operator==(const tpen&) const = default;
};

// A font as a value; size is in points at 96 pixels per inch.
struct tfont {
    std::string family = "Sans Serif";
    int size = 8;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeout = false;
    tcolour colour = black;
    bool operator==(const tfont&) const = default;
};

// The plot window's text font: a bold sans-serif of 8 points.
tfont windowtextfont();

// The Qt font for drawing f on a surface: pixel-sized, without antialiasing.
QFont toqfont(const tfont& f);

}  // namespace quor
