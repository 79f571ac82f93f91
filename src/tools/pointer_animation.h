#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>

#include "image/colour.h"
#include "image/geometry.h"

namespace palvex {

// Rings of moving dots that mark the barrier point or side under the pointer (and the
// navigator's view frame). Everything here is window arithmetic; drawing is the caller's.

inline constexpr int kRingPositions = 60;
inline constexpr int kMaxRings = 10;
inline constexpr int kDotsPerRing = 8;
inline constexpr Point kHiddenPosition{-1, -1};

// The settings' ring count (PlayAnime) and speed (SpeedAnime).
int ClampRingCount(std::int32_t stored);       // 0..10
int ClampAnimationSpeed(std::int32_t stored);  // 0..4
// speed x 10 + 5 milliseconds.
int AnimationPeriod(int speed);
inline constexpr int kNavigatorAnimationPeriod = 5;

// Draws the generator's numbers as the rings are built; any generator seeded at each start will
// do, tests give a fixed sequence.
using RingRandom = std::function<std::uint32_t()>;
// A generator seeded with the current time in seconds.
RingRandom TimeSeededRandom();

using RingPositions = std::array<Point, kRingPositions>;

// The 60 dot positions on the ellipse in `box`, turned by `angle` radians about its centre,
// clockwise from its left end; a turned point right of the centre inside `exclusion` is hidden.
// Nothing when the box is too small (a half-axis of 1 or less).
std::optional<RingPositions> BuildRing(const Rect& box, double angle, const Rect& exclusion);

struct AnimationRing {
    RingPositions positions{};
    int phase = 0;  // where the darkest dot is
    Colour colour = 0;
};

struct AnimationRings {
    std::array<AnimationRing, kMaxRings> rings{};
    int count = 0;
    Rect box;  // around every shown position of every ring, grown by 4
};

// The colour of ring i (0..9).
Colour RingColour(int ring);
// Pen j (0..7) of a ring: j times 8 taken from each channel, not below 0.
Colour DotShade(Colour ringColour, int j);

// The canvas form: rings round the pointer p with an exclusion box of 40 x 40 around it.
// Nothing when `count` is 0 or a ring cannot be built.
std::optional<AnimationRings> StartCanvasRings(Point p, int count, const RingRandom& random);
// The navigator form: rings centred on (p.x, the frame's vertical centre), sized by the frame
// (at most a 100 x 100 square round its centre), which is also the exclusion box.
std::optional<AnimationRings> StartNavigatorRings(Point p, const Rect& frame, int count,
                                                  const RingRandom& random);

// The dot j (0..7) of a ring at its phase: the position and pen to draw it with; nothing when
// that position is hidden.
struct RingDot {
    Point at;
    Colour colour;
};
std::optional<RingDot> DotOf(const AnimationRing& ring, int j);

// One tick's turn: even rings forward, odd rings back, wrapping round the 60 positions.
void AdvanceRings(AnimationRings& rings);

}  // namespace palvex
