#include "tools/cursor_stop.h"

namespace palvex {

std::optional<Point> CursorStopTarget(const Bitmap& image, Point q, Colour drawColour) {
    if (!image.Contains(q.x, q.y) || image.ReadPixel(q.x, q.y) != drawColour) {
        return std::nullopt;
    }
    // Column by column from the left, top to bottom: the order users have learnt to expect.
    static constexpr Point kNeighbours[] = {{-1, -1}, {-1, 0}, {-1, 1}, {0, -1},
                                            {0, 1},   {1, -1}, {1, 0},  {1, 1}};
    for (const Point d : kNeighbours) {
        const Point n{q.x + d.x, q.y + d.y};
        if (image.Contains(n.x, n.y) && image.ReadPixel(n.x, n.y) != drawColour) {
            return n;
        }
    }
    return std::nullopt;
}

}  // namespace palvex
