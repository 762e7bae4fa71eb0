#pragma once

#include "modctrlcommand.h"

#include <array>

struct TCCPoint {
    int32_t X = 0;
    int32_t Y = 0;
    bool operator==(const TCCPoint &) const = default;
};

// A characteristic curve of 21 points, indexed -10 ... +10 (code 6).
class TModCCParaCmd : public TModCtrlCommand {
public:
    static constexpr int MinPoint = -10;
    static constexpr int MaxPoint = 10;

    TModCCParaCmd() : TModCtrlCommand(6) {}

    // Indices outside -10 ... 10 read as (0, 0) and are not written.
    TCCPoint GetPoint(int i) const;
    void SetPoint(int i, TCCPoint point);
    // 13 columns: X ends in column 6, Y in column 13.
    QString PointText(int i) const;

    QString ValueText() const override;
    void AssignTo(TModBaseCommand *dest) const override;

private:
    static bool InRange(int i) { return i >= MinPoint && i <= MaxPoint; }
    std::array<TCCPoint, MaxPoint - MinPoint + 1> FPoints{};
};
