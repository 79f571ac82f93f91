#include "tools/processing_range.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>

namespace palvex {

ProcessingRange ReadProcessingRange(const SettingsStore& store) {
    ProcessingRange range;
    range.shape = setting::kPenStyle.Read(store);
    range.size = setting::kHani.Read(store);
    range.flatness = setting::kFlat.Read(store);
    range.flatDirection = setting::kFlatH.Read(store);
    range.angle = ReadPenAngle(store);
    range.wholeImage = setting::kHaniAll.Read(store) == 1;
    return range;
}

void WriteProcessingRange(SettingsStore& store, const ProcessingRange& range) {
    setting::kPenStyle.Write(store, range.shape);
    setting::kHani.Write(store, range.size);
    setting::kFlat.Write(store, range.flatness);
    setting::kFlatH.Write(store, range.flatDirection);
    WritePenAngle(store, range.angle);
    setting::kHaniAll.Write(store, range.wholeImage ? 1 : 0);
}

TargetColours ReadTargetColours(const SettingsStore& store) {
    return {setting::kKinjiAll.Read(store) == 1, setting::kKinji.Read(store)};
}

void WriteTargetColours(SettingsStore& store, const TargetColours& targets) {
    setting::kKinjiAll.Write(store, targets.allColours ? 1 : 0);
    setting::kKinji.Write(store, targets.tolerance);
}

ProcessingRange ProcessingRangeOf(const AppSettings& settings) {
    return {settings.penStyle,      settings.rangeSize, settings.flatness,
            settings.flatDirection, settings.penAngle,  settings.wholeImage == 1};
}

void StoreProcessingRange(AppSettings& settings, const ProcessingRange& range) {
    settings.penStyle = range.shape;
    settings.rangeSize = range.size;
    settings.flatness = range.flatness;
    settings.flatDirection = range.flatDirection;
    settings.penAngle = range.angle;
    settings.wholeImage = range.wholeImage ? 1 : 0;
}

TargetColours TargetColoursOf(const AppSettings& settings) {
    return {settings.allColours == 1, settings.tolerance};
}

void StoreTargetColours(AppSettings& settings, const TargetColours& targets) {
    settings.allColours = targets.allColours ? 1 : 0;
    settings.tolerance = targets.tolerance;
}

int ClampRangeSize(int size) {
    return std::clamp(size, kMinRangeSize, kMaxRangeSize);
}

int ClampFlatness(int flatness) {
    return std::clamp(flatness, 0, kMaxFlatness);
}

int ClampTolerance(int tolerance) {
    return std::clamp(tolerance, kMinTolerance, kMaxTolerance);
}

DragStep RightDragStep(const ProcessingRange& range, Point anchor, Point pointer) {
    int dx = pointer.x - anchor.x;
    int dy = pointer.y - anchor.y;
    DragStep step{range, false};
    if (std::abs(dx) <= 4 && std::abs(dy) <= 4) {
        return step;
    }
    if (range.flatDirection == 1) {
        std::swap(dx, dy);
    }
    if (std::abs(dx) > 4) {
        step.range.size = ClampRangeSize(range.size + dx);
        step.anchorMoved = true;
    }
    if (std::abs(dy) > 4) {
        step.range.flatness = ClampFlatness(range.flatness + dy);
        step.anchorMoved = true;
    }
    return step;
}

double WheelAngleStep(double angle, bool forward, bool fine) {
    int step = fine ? 175 : 1750;
    if (forward) {
        step = -step;
    }
    double next = (step + static_cast<int>(angle * 10000)) / 10000.0;
    if (next < 0) {
        next += kPenFullTurn;
    } else if (next > kPenFullTurn) {
        next -= kPenFullTurn;
    }
    if (next > 6.28 || next < 0.012) {
        next = 0.0;
    }
    return next;
}

int AnglePaneDegrees(double angle) {
    const int degrees = static_cast<int>(angle * 180 / std::numbers::pi);
    return degrees == 0 ? 360 : degrees;
}

}  // namespace palvex
