#pragma once

#include "colorvalue.h"

#include <QComboBox>

// A drop-down of named colours (standard, extended and system colours) with a swatch each,
// plus "Custom..." which opens the colour dialog. A value not in the list shows as "Custom".
class TColorBox : public QComboBox {
    Q_OBJECT
public:
    explicit TColorBox(QWidget *Parent = nullptr);

    TColor ColorValue() const;
    void SetColorValue(TColor Value);

signals:
    // The user picked another colour.
    void ColorValueChanged(TColor Value);

private:
    void OnActivated(int Index);
    void ShowCustomEntry(TColor Value);
    int CustomEntryIndex() const;
    int CustomDialogIndex() const { return count() - 1; }

    int FLastIndex = -1;
};
