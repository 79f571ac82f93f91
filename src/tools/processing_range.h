#pragma once

#include "app/app_settings.h"
#include "base/settings_store.h"
#include "image/colour.h"
#include "image/geometry.h"

namespace palvex {

enum class RangeShapeKind { Rectangle = 0, Ellipse = 1, Triangle = 2 };

inline constexpr int kMinRangeSize = 1;
inline constexpr int kMaxRangeSize = 500;
inline constexpr int kMaxFlatness = 95;
inline constexpr int kMinTolerance = 1;
inline constexpr int kMaxTolerance = 9;
inline constexpr double kPenFullTurn = 6.283185307;

// The shaped area around the pointer that one pen application processes, measured in window
// (client) pixels: at 200 % a size of 30 covers 15 image pixels. Each field is kept in the
// settings section "Last" under the key named beside it.
struct ProcessingRange {
    int shape = 0;            // PenStyle: 0 rectangle, 1 ellipse, 2 triangle
    int size = 30;            // Hani: full width of the unflattened shape
    int flatness = 0;         // Flat: percentage by which one side is shortened
    int flatDirection = 0;    // FlatH: 0 the height is shortened, 1 the width
    double angle = 0.0;       // Rad: radians, clockwise on screen; kept as trunc(angle x 10000)
    bool wholeImage = false;  // HaniAll: the whole image instead of the shape

    RangeShapeKind Shape() const { return static_cast<RangeShapeKind>(shape); }
    friend bool operator==(const ProcessingRange&, const ProcessingRange&) = default;
};

// Which pixels of the range a pen changes (section "Last").
struct TargetColours {
    bool allColours = false;  // KinjiAll: every pixel of the range
    int tolerance = 5;        // Kinji: 1..9; a channel must differ by less than 2 x tolerance

    friend bool operator==(const TargetColours&, const TargetColours&) = default;
};

ProcessingRange ReadProcessingRange(const SettingsStore& store);
void WriteProcessingRange(SettingsStore& store, const ProcessingRange& range);
TargetColours ReadTargetColours(const SettingsStore& store);
void WriteTargetColours(SettingsStore& store, const TargetColours& targets);

// The editor keeps these values in its settings model; these views read and store them there.
ProcessingRange ProcessingRangeOf(const AppSettings& settings);
void StoreProcessingRange(AppSettings& settings, const ProcessingRange& range);
TargetColours TargetColoursOf(const AppSettings& settings);
void StoreTargetColours(AppSettings& settings, const TargetColours& targets);

// Typed edit values are clamped to the spin ranges: sizes and flatnesses outside them would
// give negative heights and ellipse outlines beyond their point limit.
int ClampRangeSize(int size);
int ClampFlatness(int flatness);
int ClampTolerance(int tolerance);

// The target test against the reference colour (the pixel under the pointer).
inline bool ColourMatches(Colour pixel, Colour reference, const TargetColours& targets) {
    if (targets.allColours) {
        return true;
    }
    const int limit = 2 * targets.tolerance;
    const auto near = [limit](int a, int b) { return a - b < limit && b - a < limit; };
    return near(RedOf(pixel), RedOf(reference)) && near(GreenOf(pixel), GreenOf(reference)) &&
           near(BlueOf(pixel), BlueOf(reference));
}

// Right-button drag: the size grows to the right and the flatness downwards (swapped with flat
// direction 1) in steps of more than 4 pixels; `anchorMoved` tells the caller to move its anchor
// to the pointer.
struct DragStep {
    ProcessingRange range;
    bool anchorMoved = false;
};
DragStep RightDragStep(const ProcessingRange& range, Point anchor, Point pointer);

// Wheel with the right button: about 10 degrees a notch, about 1 degree with Ctrl; a forward
// turn goes anticlockwise. Angles within about 0.7 degree of a full turn become exactly 0.
double WheelAngleStep(double angle, bool forward, bool fine);
// The angle pane's whole degrees; 0 shows as 360.
int AnglePaneDegrees(double angle);

}  // namespace palvex
