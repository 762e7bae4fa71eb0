#pragma once

#include <QColor>
#include <QString>

#include <cstdint>
#include <vector>

// A stored colour: red in bits 0-7, green in 8-15, blue in 16-23. A top byte of 0xFF names a
// system colour by the index in the low byte (the Windows COLOR_* numbers), shown with the
// matching colour of the application palette.
using TColor = int32_t;

constexpr TColor SystemColor(int Index)
{
    return TColor(0xFF000000u | uint32_t(Index & 0xFF));
}

constexpr TColor RgbColor(int Red, int Green, int Blue)
{
    return TColor(uint32_t(Red & 0xFF) | uint32_t(Green & 0xFF) << 8 | uint32_t(Blue & 0xFF) << 16);
}

inline constexpr TColor clBlack = RgbColor(0, 0, 0);
inline constexpr TColor clRed = RgbColor(0xFF, 0, 0);
inline constexpr TColor clGreen = RgbColor(0, 0x80, 0);
inline constexpr TColor clBlue = RgbColor(0, 0, 0xFF);
inline constexpr TColor clWhite = RgbColor(0xFF, 0xFF, 0xFF);
inline constexpr TColor clBtnFace = SystemColor(15);

constexpr bool IsSystemColor(TColor Value)
{
    return (uint32_t(Value) >> 24) == 0xFF;
}

// The colour a stored value shows as; system colours come from the application palette.
QColor ColorValueToQColor(TColor Value);

// The stored value of a plain colour (the alpha channel is dropped).
TColor QColorToColorValue(const QColor &Color);

// The colours offered by name in the colour pickers: the standard sixteen, the extended four
// and the system colours that have a counterpart in the palette.
struct TNamedColor {
    QString Name;
    TColor Value;
};
const std::vector<TNamedColor> &NamedColors();
