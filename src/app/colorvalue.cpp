#include "colorvalue.h"

#include <QGuiApplication>
#include <QPalette>

namespace {

struct TSystemRole {
    int Index;
    QPalette::ColorGroup Group;
    QPalette::ColorRole Role;
};

// Windows system colour numbers and the palette colour standing in for each.
constexpr TSystemRole SystemRoles[] = {
    {0, QPalette::Active, QPalette::Button},           // scroll bar
    {1, QPalette::Active, QPalette::Window},           // desktop background
    {2, QPalette::Active, QPalette::Highlight},        // active caption
    {3, QPalette::Inactive, QPalette::Highlight},      // inactive caption
    {4, QPalette::Active, QPalette::Window},           // menu
    {5, QPalette::Active, QPalette::Base},             // window
    {6, QPalette::Active, QPalette::Shadow},           // window frame
    {7, QPalette::Active, QPalette::WindowText},       // menu text
    {8, QPalette::Active, QPalette::Text},             // window text
    {9, QPalette::Active, QPalette::HighlightedText},  // caption text
    {10, QPalette::Active, QPalette::Window},          // active border
    {11, QPalette::Inactive, QPalette::Window},        // inactive border
    {12, QPalette::Active, QPalette::Dark},            // application workspace
    {13, QPalette::Active, QPalette::Highlight},       // highlight
    {14, QPalette::Active, QPalette::HighlightedText}, // highlight text
    {15, QPalette::Active, QPalette::Button},          // button face
    {16, QPalette::Active, QPalette::Dark},            // button shadow
    {17, QPalette::Disabled, QPalette::Text},          // grey text
    {18, QPalette::Active, QPalette::ButtonText},      // button text
    {19, QPalette::Inactive, QPalette::HighlightedText}, // inactive caption text
    {20, QPalette::Active, QPalette::Light},           // button highlight
    {21, QPalette::Active, QPalette::Shadow},          // 3D dark shadow
    {22, QPalette::Active, QPalette::Midlight},        // 3D light
    {23, QPalette::Active, QPalette::ToolTipText},     // info text
    {24, QPalette::Active, QPalette::ToolTipBase},     // info background
    {26, QPalette::Active, QPalette::Link},            // hot light
    {27, QPalette::Active, QPalette::Highlight},       // gradient active caption
    {28, QPalette::Inactive, QPalette::Highlight},     // gradient inactive caption
    {29, QPalette::Active, QPalette::Highlight},       // menu highlight
    {30, QPalette::Active, QPalette::Window},          // menu bar
};

QColor SystemColorToQColor(int index)
{
    const QPalette palette = QGuiApplication::palette();
    for (const TSystemRole &role : SystemRoles) {
        if (role.Index == index)
            return palette.color(role.Group, role.Role);
    }
    return Qt::black; // what Windows answers for an unknown number
}

} // namespace

QColor ColorValueToQColor(TColor Value)
{
    const auto bits = uint32_t(Value);
    if (IsSystemColor(Value))
        return SystemColorToQColor(int(bits & 0xFF));
    return QColor(int(bits & 0xFF), int(bits >> 8 & 0xFF), int(bits >> 16 & 0xFF));
}

TColor QColorToColorValue(const QColor &Color)
{
    const QColor rgb = Color.toRgb();
    return RgbColor(rgb.red(), rgb.green(), rgb.blue());
}

const std::vector<TNamedColor> &NamedColors()
{
    static const std::vector<TNamedColor> colors = {
        {QStringLiteral("Black"), RgbColor(0x00, 0x00, 0x00)},
        {QStringLiteral("Maroon"), RgbColor(0x80, 0x00, 0x00)},
        {QStringLiteral("Green"), RgbColor(0x00, 0x80, 0x00)},
        {QStringLiteral("Olive"), RgbColor(0x80, 0x80, 0x00)},
        {QStringLiteral("Navy"), RgbColor(0x00, 0x00, 0x80)},
        {QStringLiteral("Purple"), RgbColor(0x80, 0x00, 0x80)},
        {QStringLiteral("Teal"), RgbColor(0x00, 0x80, 0x80)},
        {QStringLiteral("Gray"), RgbColor(0x80, 0x80, 0x80)},
        {QStringLiteral("Silver"), RgbColor(0xC0, 0xC0, 0xC0)},
        {QStringLiteral("Red"), RgbColor(0xFF, 0x00, 0x00)},
        {QStringLiteral("Lime"), RgbColor(0x00, 0xFF, 0x00)},
        {QStringLiteral("Yellow"), RgbColor(0xFF, 0xFF, 0x00)},
        {QStringLiteral("Blue"), RgbColor(0x00, 0x00, 0xFF)},
        {QStringLiteral("Fuchsia"), RgbColor(0xFF, 0x00, 0xFF)},
        {QStringLiteral("Aqua"), RgbColor(0x00, 0xFF, 0xFF)},
        {QStringLiteral("White"), RgbColor(0xFF, 0xFF, 0xFF)},
        {QStringLiteral("Money Green"), RgbColor(0xC0, 0xDC, 0xC0)},
        {QStringLiteral("Sky Blue"), RgbColor(0xA6, 0xCA, 0xF0)},
        {QStringLiteral("Cream"), RgbColor(0xFF, 0xFB, 0xF0)},
        {QStringLiteral("Medium Gray"), RgbColor(0xA0, 0xA0, 0xA4)},
        {QStringLiteral("Button Face"), SystemColor(15)},
        {QStringLiteral("Button Text"), SystemColor(18)},
        {QStringLiteral("Window"), SystemColor(5)},
        {QStringLiteral("Window Text"), SystemColor(8)},
        {QStringLiteral("Highlight"), SystemColor(13)},
        {QStringLiteral("Highlight Text"), SystemColor(14)},
    };
    return colors;
}
