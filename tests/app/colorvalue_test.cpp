#include "colorvalue.h"

#include <QApplication>
#include <QPalette>
#include <gtest/gtest.h>

namespace {

TEST(ColorValue, PlainValuesCarryRedGreenBlueFromTheLowByteUp)
{
    struct Case {
        TColor Value;
        QColor Color;
    };
    const Case cases[] = {
        {255, QColor(255, 0, 0)},        {32768, QColor(0, 128, 0)},
        {16711680, QColor(0, 0, 255)},   {0, QColor(0, 0, 0)},
        {0x563412, QColor(0x12, 0x34, 0x56)}, {16777215, QColor(255, 255, 255)},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(ColorValueToQColor(c.Value), c.Color) << c.Value;
        EXPECT_EQ(QColorToColorValue(c.Color), c.Value) << c.Value;
    }
}

TEST(ColorValue, SystemColoursComeFromThePalette)
{
    QPalette palette = QApplication::palette();
    palette.setColor(QPalette::Button, QColor(1, 2, 3));
    palette.setColor(QPalette::Base, QColor(4, 5, 6));
    QApplication::setPalette(palette);
    EXPECT_EQ(clBtnFace, -16777201);
    EXPECT_TRUE(IsSystemColor(clBtnFace));
    EXPECT_FALSE(IsSystemColor(clBlue));
    EXPECT_EQ(ColorValueToQColor(clBtnFace), QColor(1, 2, 3));
    EXPECT_EQ(ColorValueToQColor(SystemColor(5)), QColor(4, 5, 6)) << "Window";
    EXPECT_EQ(ColorValueToQColor(SystemColor(200)), QColor(Qt::black)) << "unknown number";
    QApplication::setPalette(QPalette());
}

} // namespace
