#include "colorbox.h"

#include <QColorDialog>
#include <QPainter>
#include <QPixmap>

namespace {

QIcon Swatch(TColor value, int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(ColorValueToQColor(value));
    QPainter painter(&pixmap);
    painter.setPen(Qt::black);
    painter.drawRect(0, 0, size - 1, size - 1);
    return QIcon(pixmap);
}

} // namespace

TColorBox::TColorBox(QWidget *Parent)
    : QComboBox(Parent)
{
    const int swatch = iconSize().height();
    for (const TNamedColor &color : NamedColors())
        addItem(Swatch(color.Value, swatch), color.Name, color.Value);
    addItem(QStringLiteral("Custom..."));
    setMaxVisibleItems(count() + 1); // room for the custom entry
    SetColorValue(NamedColors().front().Value);
    connect(this, &QComboBox::activated, this, &TColorBox::OnActivated);
}

TColor TColorBox::ColorValue() const
{
    return TColor(itemData(FLastIndex).toInt());
}

void TColorBox::SetColorValue(TColor Value)
{
    int index = findData(Value);
    if (index < 0) {
        ShowCustomEntry(Value);
        index = CustomEntryIndex();
    }
    FLastIndex = index;
    setCurrentIndex(index);
}

int TColorBox::CustomEntryIndex() const
{
    const int index = count() - 2;
    return index >= int(NamedColors().size()) ? index : -1;
}

void TColorBox::ShowCustomEntry(TColor Value)
{
    const QIcon swatch = Swatch(Value, iconSize().height());
    if (CustomEntryIndex() < 0) {
        insertItem(CustomDialogIndex(), swatch, QStringLiteral("Custom"), Value);
    } else {
        setItemIcon(CustomEntryIndex(), swatch);
        setItemData(CustomEntryIndex(), Value);
    }
}

void TColorBox::OnActivated(int Index)
{
    if (Index == CustomDialogIndex()) {
        const QColor chosen = QColorDialog::getColor(ColorValueToQColor(ColorValue()), this,
                                                     QStringLiteral("Color"),
                                                     QColorDialog::DontUseNativeDialog);
        if (!chosen.isValid()) {
            setCurrentIndex(FLastIndex);
            return;
        }
        SetColorValue(QColorToColorValue(chosen));
    } else {
        FLastIndex = Index;
    }
    emit ColorValueChanged(ColorValue());
}
