#include "barrier/barrier_fill.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "barrier/free_colour.h"
#include "barrier/inside_point.h"
#include "geometry/math_sub.h"
#include "image/raster/line.h"
#include "resources/string_table.h"
#include "support/test_support.h"

namespace palvex {
namespace {

constexpr Colour kBlack = Rgb(0, 0, 0);
constexpr Colour kKey = Rgb(255, 0, 255);

// Every pixel a different-ish colour and none the key, so any change shows.
Bitmap Textured(int width, int height) {
    Bitmap image;
    EXPECT_TRUE(image.Create(width, height));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            image.Row(y)[x] = PixelFromColour(Rgb(x * 2, y * 2, (x + y) & 0x7F));
        }
    }
    return image;
}

Bitmap Copy(const Bitmap& image) {
    Bitmap copy;
    EXPECT_TRUE(copy.Create(image.Width(), image.Height()));
    EXPECT_TRUE(CopyBitmapBits(image, copy));
    return copy;
}

bool IsKey(const Bitmap& image, int x, int y, Colour key = kKey) {
    return image.ReadPixel(x, y) == key;
}

// The command as the editor runs it, with the snapshots it pushes recorded.
struct Command {
    BarrierFillResult Run(Bitmap& image, std::vector<Point> vertices, BarrierSide side,
                          std::optional<Point> seed = {}, Colour key = kKey) {
        return BarrierTransparent(
            image, key, vertices, side, seed,
            [this](const Rect& r) {
                pushes.push_back(r);
                return pushSucceeds;
            },
            prompter);
    }
    std::vector<Rect> pushes;
    bool pushSucceeds = true;
    test::RecordingPrompter prompter;
};

// An independent reference: the winding number of the pixel's point against the polygon in
// doubles, and whether the point is within 1.5 pixels of a side, where a one-pixel outline may
// fall on either side of it.
struct Reference {
    explicit Reference(std::vector<Point> polygon) : v(std::move(polygon)) {}

    bool Inside(int x, int y) const {
        int winding = 0;
        for (std::size_t i = 0; i < v.size(); ++i) {
            const Point a = v[i];
            const Point b = v[(i + 1) % v.size()];
            const double side = static_cast<double>(b.x - a.x) * (y - a.y) -
                                static_cast<double>(x - a.x) * (b.y - a.y);
            if (a.y <= y && b.y > y && side > 0) {
                ++winding;
            } else if (a.y > y && b.y <= y && side < 0) {
                --winding;
            }
        }
        return winding != 0;
    }
    bool NearOutline(int x, int y) const {
        for (std::size_t i = 0; i < v.size(); ++i) {
            const Point a = v[i];
            const Point b = v[(i + 1) % v.size()];
            const double dx = b.x - a.x;
            const double dy = b.y - a.y;
            const double length2 = dx * dx + dy * dy;
            const double t =
                length2 == 0 ? 0
                             : std::clamp(((x - a.x) * dx + (y - a.y) * dy) / length2, 0.0, 1.0);
            if (std::hypot(a.x + t * dx - x, a.y + t * dy - y) <= 1.5) {
                return true;
            }
        }
        return false;
    }

    std::vector<Point> v;
};

// Away from the outline, the fill must have keyed exactly the pixels of `side` (and kept their
// colour elsewhere).
void ExpectSideKeyed(const Bitmap& before, const Bitmap& after, const Reference& ref,
                     BarrierSide side) {
    int wrong = 0;
    for (int y = 0; y < after.Height(); ++y) {
        for (int x = 0; x < after.Width(); ++x) {
            if (ref.NearOutline(x, y)) {
                continue;
            }
            const bool wanted = ref.Inside(x, y) == (side == BarrierSide::Inside);
            const bool ok = wanted ? IsKey(after, x, y) : after.Row(y)[x] == before.Row(y)[x];
            if (!ok && wrong++ < 5) {
                ADD_FAILURE() << "pixel (" << x << ", " << y << ") "
                              << (wanted ? "not keyed" : "changed");
            }
        }
    }
    EXPECT_EQ(wrong, 0);
}

const std::vector<Point> kSquare{{20, 20}, {80, 20}, {80, 80}, {20, 80}};
// A notch from below: the outside reaches into it from the bottom edge.
const std::vector<Point> kConcave{{10, 10}, {90, 10}, {90, 90}, {60, 90},
                                  {60, 40}, {40, 40}, {40, 90}, {10, 90}};
// Two lobes meeting at (50, 50); the outside reaches between them from above and below.
const std::vector<Point> kBowTie{{10, 10}, {90, 90}, {90, 10}, {10, 90}};

TEST(BarrierFill, InsideOfASquareOnWhiteKeysTheInteriorAndOutlineOnly) {
    Bitmap image = test::SolidBitmap(100, 100, PixelFromColour(Rgb(255, 255, 255)));
    Command command;
    EXPECT_EQ(command.Run(image, kSquare, BarrierSide::Inside, {}, kBlack).status,
              BarrierFillStatus::Done);
    for (int y = 0; y < 100; ++y) {
        for (int x = 0; x < 100; ++x) {
            const bool square = x >= 20 && x <= 80 && y >= 20 && y <= 80;
            ASSERT_EQ(IsKey(image, x, y, kBlack), square) << x << ", " << y;
        }
    }
    // The bounding box grown by 4, right and bottom exclusive.
    EXPECT_EQ(command.pushes, (std::vector<Rect>{{16, 16, 84, 84}}));
}

TEST(BarrierFill, OutsideOfASquareKeysEverythingButTheInterior) {
    Bitmap image = test::SolidBitmap(100, 100, PixelFromColour(Rgb(255, 255, 255)));
    image.WritePixel(0, 0, kBlack);  // already transparent: the other samples still work
    Command command;
    const BarrierFillResult result = command.Run(image, kSquare, BarrierSide::Outside, {}, kBlack);
    EXPECT_EQ(result.status, BarrierFillStatus::Done);
    EXPECT_EQ(result.changed, (Rect{0, 0, 100, 100}));
    for (int y = 0; y < 100; ++y) {
        for (int x = 0; x < 100; ++x) {
            const bool interior = x > 20 && x < 80 && y > 20 && y < 80;
            ASSERT_EQ(IsKey(image, x, y, kBlack), !interior) << x << ", " << y;
        }
    }
    EXPECT_EQ(command.pushes, (std::vector<Rect>{Rect{}}));  // the whole image
}

TEST(BarrierFill, SquareConcaveAndSelfIntersectingAgainstAReferenceRasteriser) {
    for (const auto& polygon : {kSquare, kConcave, kBowTie}) {
        SCOPED_TRACE(::testing::Message()
                     << "first side to " << polygon[1].x << "," << polygon[1].y);
        const Reference ref(polygon);
        const Bitmap before = Textured(100, 100);
        Bitmap outside = Copy(before);
        Command command;
        ASSERT_EQ(command.Run(outside, polygon, BarrierSide::Outside).status,
                  BarrierFillStatus::Done);
        ExpectSideKeyed(before, outside, ref, BarrierSide::Outside);
        if (polygon == kBowTie) {
            continue;  // one seed clears one lobe: below
        }
        Bitmap inside = Copy(before);
        ASSERT_EQ(command.Run(inside, polygon, BarrierSide::Inside).status,
                  BarrierFillStatus::Done);
        ExpectSideKeyed(before, inside, ref, BarrierSide::Inside);
    }
}

TEST(BarrierFill, InsideOfABowTieClearsOneLobeAndLeavesTheOtherLobesOutline) {
    const Reference ref(kBowTie);
    const Bitmap before = Textured(100, 100);
    Bitmap image = Copy(before);
    Command command;
    ASSERT_EQ(command.Run(image, kBowTie, BarrierSide::Inside).status, BarrierFillStatus::Done);
    const bool leftCleared = IsKey(image, 20, 50);
    EXPECT_NE(leftCleared, IsKey(image, 80, 50));
    for (int y = 0; y < 100; ++y) {
        for (int x = 0; x < 100; ++x) {
            // Both outlines pass through the crossing at (50, 50).
            const bool otherLobe = leftCleared ? x > 52 : x < 48;
            if (otherLobe || (!ref.Inside(x, y) && !ref.NearOutline(x, y))) {
                // The other lobe, its outline included, and everything outside keep their colour.
                ASSERT_EQ(image.Row(y)[x], before.Row(y)[x]) << x << ", " << y;
            } else if (!ref.NearOutline(x, y)) {
                ASSERT_TRUE(IsKey(image, x, y)) << x << ", " << y;
            }
        }
    }
}

TEST(BarrierFill, ABarrierAcrossTheImageSplitsTheOutsideAndBothPartsClear) {
    // Touches the top and bottom edges: the outside is a left and a right part.
    const std::vector<Point> band{{40, 0}, {60, 0}, {60, 99}, {40, 99}};
    const Bitmap before = Textured(100, 100);
    Bitmap image = Copy(before);
    Command command;
    ASSERT_EQ(command.Run(image, band, BarrierSide::Outside).status, BarrierFillStatus::Done);
    EXPECT_TRUE(IsKey(image, 10, 50));
    EXPECT_TRUE(IsKey(image, 90, 50));
    EXPECT_EQ(image.Row(50)[50], before.Row(50)[50]);
}

TEST(BarrierFill, TheSeededCommandClearsARegionTheSamplesMissed) {
    // A ring-shaped hole: a region outside the barrier with no border sample in it.
    const std::vector<Point> frame{{10, 10}, {90, 10}, {90, 90}, {10, 90}, {10, 10},
                                   {30, 30}, {30, 70}, {70, 70}, {70, 30}, {30, 30}};
    const Bitmap before = Textured(100, 100);
    Bitmap image = Copy(before);
    Command command;
    ASSERT_EQ(command.Run(image, frame, BarrierSide::Outside).status, BarrierFillStatus::Done);
    EXPECT_EQ(image.Row(50)[50], before.Row(50)[50]);
    ASSERT_EQ(command.Run(image, frame, BarrierSide::Outside, Point{50, 50}).status,
              BarrierFillStatus::Done);
    EXPECT_TRUE(IsKey(image, 50, 50));
    EXPECT_FALSE(IsKey(image, 20, 50));  // the frame itself stays
    EXPECT_EQ(command.pushes.back(), Rect{});
}

TEST(BarrierFill, TheSnapshotCoversEveryChangedPixel) {
    // A seeded inside command whose seed is outside the barrier reaches beyond the grown box.
    const Bitmap before = Textured(100, 100);
    Bitmap image = Copy(before);
    Command command;
    const BarrierFillResult result = command.Run(image, kSquare, BarrierSide::Inside, Point{5, 5});
    ASSERT_EQ(result.status, BarrierFillStatus::Done);
    EXPECT_TRUE(IsKey(image, 0, 0));
    ASSERT_EQ(command.pushes.size(), 1u);
    EXPECT_EQ(command.pushes[0].United(result.changed), command.pushes[0]);
}

TEST(BarrierFill, NothingToChangePushesNoSnapshotAndLeavesOutlinePixelsAlone) {
    const Bitmap before = Textured(100, 100);
    Bitmap image = Copy(before);
    Command command;
    // A right-click beyond the image.
    EXPECT_EQ(command.Run(image, kSquare, BarrierSide::Inside, Point{100, 50}).status,
              BarrierFillStatus::NothingToChange);
    EXPECT_TRUE(test::SameBitmaps(before, image, "nothing_to_change"));
    // The second inside command finds every pixel already the key.
    ASSERT_EQ(command.Run(image, kSquare, BarrierSide::Inside).status, BarrierFillStatus::Done);
    EXPECT_EQ(command.Run(image, kSquare, BarrierSide::Inside).status,
              BarrierFillStatus::NothingToChange);
    EXPECT_EQ(command.pushes.size(), 1u);
}

TEST(BarrierFill, PixelsOfTheFillColourOrBlackAreNoWalls) {
    // Every candidate fill colour, black included, occurs inside the square, and a black line
    // splits it: a fill that painted and then followed colours would stop at the line.
    Bitmap image = test::SolidBitmap(256, 256, PixelFromColour(Rgb(255, 255, 255)));
    const std::vector<Point> square{{8, 8}, {247, 8}, {247, 247}, {8, 247}};
    int k = 0;
    for (int y = 9; y < 247; ++y) {
        for (int x = 9; x < 247; ++x) {
            const int level[3] = {k >> 10 & 31, k >> 5 & 31, k & 31};
            k += x == 128 ? 0 : 1;
            const auto expand = [](int l) { return (31 - l) * 8 + (31 - l) / 4; };
            image.WritePixel(
                x, y,
                x == 128 ? kBlack : Rgb(expand(level[0]), expand(level[1]), expand(level[2])));
        }
    }
    ASSERT_EQ(FindFreeColor(image, {4, 4, 251, 251}).status, FreeColourStatus::NoneFree);
    Command command;
    ASSERT_EQ(command.Run(image, square, BarrierSide::Inside, {}, Rgb(1, 2, 3)).status,
              BarrierFillStatus::Done);
    for (int y = 9; y < 247; ++y) {
        for (int x = 9; x < 247; ++x) {
            ASSERT_TRUE(IsKey(image, x, y, Rgb(1, 2, 3))) << x << ", " << y;
        }
    }
    EXPECT_FALSE(IsKey(image, 5, 5, Rgb(1, 2, 3)));
}

TEST(BarrierFill, ASeedCandidateOnTheOutlineIsPassedOver) {
    // The doubled vertex makes a zero-length first side whose candidate is the vertex itself,
    // which the winding rule counts as inside (bottom-right corner).
    const std::vector<Point> doubled{{80, 80}, {80, 80}, {20, 80}, {20, 20}, {80, 20}};
    ASSERT_EQ(FindInsidePoint(doubled), (Point{80, 80}));
    Bitmap image = Textured(100, 100);
    Command command;
    ASSERT_EQ(command.Run(image, doubled, BarrierSide::Inside).status, BarrierFillStatus::Done);
    EXPECT_TRUE(IsKey(image, 50, 50));
}

TEST(BarrierFill, ASeedCandidateWhoseRegionIsNotEnclosedIsPassedOver) {
    // A sliver of a triangle: the first candidate passes the winding test but lies just outside
    // the drawn outline, so a fill from it would clear the outside of the barrier.
    const std::vector<Point> sliver{{5, 52}, {36, 24}, {45, 20}};
    ASSERT_EQ(FindInsidePoint(sliver), (Point{22, 39}));
    const Bitmap before = Textured(100, 100);
    Bitmap image = Copy(before);
    Command command;
    ASSERT_EQ(command.Run(image, sliver, BarrierSide::Inside, Point{22, 39}).status,
              BarrierFillStatus::Done);
    EXPECT_TRUE(IsKey(image, 0, 0));

    image = Copy(before);
    const BarrierFillResult result = command.Run(image, sliver, BarrierSide::Inside);
    EXPECT_NE(result.status, BarrierFillStatus::SnapshotFailed);
    const Rect box{5, 20, 46, 53};
    EXPECT_EQ(box.United(result.changed), box);
    EXPECT_EQ(image.Row(0)[0], before.Row(0)[0]);
}

TEST(BarrierFill, AFailedSnapshotAbandonsTheFill) {
    const Bitmap before = Textured(100, 100);
    Bitmap image = Copy(before);
    Command command;
    command.pushSucceeds = false;
    EXPECT_EQ(command.Run(image, kSquare, BarrierSide::Outside).status,
              BarrierFillStatus::SnapshotFailed);
    EXPECT_EQ(command.pushes.size(), 1u);
    EXPECT_TRUE(test::SameBitmaps(before, image, "failed_snapshot"));
}

TEST(BarrierFill, SeedOnTheOutlineTakesOnlyTheOutline) {
    const Bitmap before = Textured(100, 100);
    Bitmap image = Copy(before);
    Command command;
    ASSERT_EQ(command.Run(image, kSquare, BarrierSide::Inside, Point{50, 20}).status,
              BarrierFillStatus::Done);
    EXPECT_TRUE(IsKey(image, 20, 20));
    EXPECT_TRUE(IsKey(image, 80, 50));
    EXPECT_EQ(image.Row(50)[50], before.Row(50)[50]);
    EXPECT_EQ(image.Row(19)[50], before.Row(19)[50]);
}

TEST(BarrierFill, OnePixelAndOnePixelWideImages) {
    // One vertex draws no outline, so its outside is everything; a point has no inside.
    Bitmap dot = Textured(1, 1);
    Command command;
    EXPECT_EQ(command.Run(dot, {{0, 0}}, BarrierSide::Inside).status, BarrierFillStatus::NoInside);
    EXPECT_EQ(command.Run(dot, {{0, 0}}, BarrierSide::Outside).status, BarrierFillStatus::Done);
    EXPECT_TRUE(IsKey(dot, 0, 0));
    // A barrier across a column three pixels wide: above and below clear (with the outline,
    // which the samples down the sides lie on), the pixel inside stays.
    Bitmap column = Textured(3, 40);
    const Bitmap before = Copy(column);
    ASSERT_EQ(
        command.Run(column, {{0, 10}, {2, 10}, {2, 30}, {0, 30}}, BarrierSide::Outside).status,
        BarrierFillStatus::Done);
    EXPECT_TRUE(IsKey(column, 1, 0));
    EXPECT_TRUE(IsKey(column, 1, 39));
    EXPECT_TRUE(IsKey(column, 0, 20));
    EXPECT_EQ(column.Row(20)[1], before.Row(20)[1]);
}

// The keyed pixels of a small image as rows of '#' (keyed) and '.'.
std::vector<std::string> KeyedRows(const Bitmap& image) {
    std::vector<std::string> rows;
    for (int y = 0; y < image.Height(); ++y) {
        std::string row;
        for (int x = 0; x < image.Width(); ++x) {
            row += IsKey(image, x, y) ? '#' : '.';
        }
        rows.push_back(row);
    }
    return rows;
}

TEST(BarrierFill, TheOutlineOfASlopedTriangleAndOfABowTieIsTakenExactly) {
    // Inside: the interior and every outline pixel touching it, no more, no less.
    Bitmap triangle = Textured(14, 10);
    Command command;
    ASSERT_EQ(command.Run(triangle, {{1, 1}, {12, 4}, {3, 8}}, BarrierSide::Inside).status,
              BarrierFillStatus::Done);
    // The outline pixels of the first side in row 1 touch the interior only corner to corner.
    EXPECT_EQ(KeyedRows(triangle), (std::vector<std::string>{
                                       "..............",
                                       "..............",
                                       "...####.......",
                                       "..#########...",
                                       "..###########.",
                                       "..#########...",
                                       "..#######.....",
                                       "...####.......",
                                       "...##.........",
                                       "..............",
                                   }));
    // Outside of a bow tie: the wedges above and below the crossing are outside; the lobes'
    // interiors and the outline between them stay.
    Bitmap bowTie = Textured(13, 11);
    ASSERT_EQ(command.Run(bowTie, {{1, 1}, {11, 9}, {11, 1}, {1, 9}}, BarrierSide::Outside).status,
              BarrierFillStatus::Done);
    EXPECT_EQ(KeyedRows(bowTie), (std::vector<std::string>{
                                     "#############",
                                     "#############",
                                     "#############",
                                     "##.#######.##",
                                     "##...###...##",
                                     "##....#....##",
                                     "##...###...##",
                                     "##.#######.##",
                                     "#############",
                                     "#############",
                                     "#############",
                                 }));
}

TEST(BarrierFill, ABarrierWhoseSideMiddlesGiveNoSeedStillHasItsInsideCleared) {
    // A thin triangle: the candidates beside its side middles all fall outside.
    const std::vector<Point> thin{{141, 55}, {129, 60}, {97, 93}};
    const Bitmap before = Textured(200, 150);
    Bitmap image = Copy(before);
    Command command;
    const BarrierFillResult result = command.Run(image, thin, BarrierSide::Inside);
    ASSERT_EQ(result.status, BarrierFillStatus::Done);
    // One region, as from any seed: only pixels inside or on the outline change.
    const Reference ref(thin);
    int keyed = 0;
    for (int y = 0; y < 150; ++y) {
        for (int x = 0; x < 200; ++x) {
            if (IsKey(image, x, y)) {
                ++keyed;
                EXPECT_TRUE(ref.Inside(x, y) || ref.NearOutline(x, y)) << x << ", " << y;
            }
        }
    }
    // The outline pinches the inside into pockets; the largest, the triangle's body, is taken.
    EXPECT_GT(keyed, 100);
    EXPECT_TRUE(IsKey(image, 124, 66));
    EXPECT_TRUE(command.prompter.shown.empty());
    // Side middles beyond the image (after a shrink): the part on the image is still found.
    Bitmap cut = Textured(60, 60);
    ASSERT_EQ(
        command.Run(cut, {{10, 10}, {200, 10}, {200, 200}, {10, 200}}, BarrierSide::Inside).status,
        BarrierFillStatus::Done);
    EXPECT_TRUE(IsKey(cut, 59, 59));
    EXPECT_FALSE(IsKey(cut, 5, 5));
}

TEST(BarrierFill, ABarrierWithNoInsideSaysSoAndChangesNothing) {
    const Bitmap before = Textured(100, 100);
    Bitmap image = Copy(before);
    Command command;
    for (const std::vector<Point>& flat :
         {std::vector<Point>{{10, 10}, {90, 90}}, std::vector<Point>{{10, 10}, {50, 50}, {90, 90}},
          std::vector<Point>{{20, 20}, {40, 20}, {30, 20}, {60, 20}}}) {
        command.prompter.shown.clear();
        EXPECT_EQ(command.Run(image, flat, BarrierSide::Inside).status,
                  BarrierFillStatus::NoInside);
        ASSERT_EQ(command.prompter.shown.size(), 1u);
        EXPECT_EQ(command.prompter.shown[0].id, str::kBarrierHasNoInside);
    }
    EXPECT_TRUE(command.pushes.empty());
    EXPECT_TRUE(test::SameBitmaps(before, image, "no_inside"));
}

TEST(BarrierFill, KeyColouredBorderSamplesStartNoFloodWhateverTheirFourthByte) {
    // A ring of the key around red, the key's pixels carrying 0xFF in the fourth byte as
    // loaded pixels may: the outside has nothing left to clear.
    Bitmap image = test::SolidBitmap(20, 20, 0xFFFF0000u);
    for (int i = 0; i < 20; ++i) {
        for (const Point p : {Point{i, 0}, Point{i, 19}, Point{0, i}, Point{19, i}}) {
            image.Row(p.y)[p.x] = PixelFromColour(kKey) | 0xFF000000u;
        }
    }
    const Bitmap before = Copy(image);
    Command command;
    EXPECT_EQ(command.Run(image, {{6, 6}, {13, 6}, {13, 13}, {6, 13}}, BarrierSide::Outside).status,
              BarrierFillStatus::NothingToChange);
    EXPECT_TRUE(test::SameBitmaps(before, image, "key_ring"));
}

// An independent model of the outside command on an image without key pixels: the outline as
// the line rasteriser lays it, a breadth-first flood from the border samples off it, then the
// outline 4-connected to the flood or to a sample lying on it.
std::vector<std::string> ReferenceOutside(int w, int h, const std::vector<Point>& barrier) {
    std::vector<std::string> rows(std::size_t(h), std::string(std::size_t(w), '.'));
    const auto at = [&rows](Point p) -> char& { return rows[std::size_t(p.y)][std::size_t(p.x)]; };
    for (std::size_t i = 0; i < barrier.size() && barrier.size() > 1; ++i) {
        LinePixels(barrier[i], barrier[(i + 1) % barrier.size()], false, Rect{0, 0, w, h},
                   [&](Point p) { at(p) = 'o'; });
    }
    const auto neighbours = [w, h](Point p) {
        std::vector<Point> out;
        for (const Point q :
             {Point{p.x - 1, p.y}, Point{p.x + 1, p.y}, Point{p.x, p.y - 1}, Point{p.x, p.y + 1}}) {
            if (q.x >= 0 && q.y >= 0 && q.x < w && q.y < h) {
                out.push_back(q);
            }
        }
        return out;
    };
    std::vector<Point> flood;
    std::vector<Point> outline;
    for (const Point s : CMathSub::BorderSamplePoints(w, h)) {
        if (s.x < w && s.y < h && !CMathSub::PointInPolygon(s, barrier)) {
            (at(s) == 'o' ? outline : flood).push_back(s);
        }
    }
    while (!flood.empty()) {
        const Point p = flood.back();
        flood.pop_back();
        if (at(p) != '.') {
            continue;
        }
        at(p) = '#';
        for (const Point q : neighbours(p)) {
            if (at(q) == '.') {
                flood.push_back(q);
            } else if (at(q) == 'o') {
                outline.push_back(q);
            }
        }
    }
    while (!outline.empty()) {
        const Point p = outline.back();
        outline.pop_back();
        if (at(p) != 'o') {
            continue;
        }
        at(p) = '#';
        for (const Point q : neighbours(p)) {
            if (at(q) == 'o') {
                outline.push_back(q);
            }
        }
    }
    for (std::string& row : rows) {
        std::replace(row.begin(), row.end(), 'o', '.');
    }
    return rows;
}

TEST(BarrierFill, OutsideMatchesAPerPixelModelOnManySmallBarriers) {
    // Sides ending one row above the bottom edge among them: the outline pixels there may touch
    // the outside only from the last row.
    std::vector<std::vector<Point>> barriers{{{5, 5}, {30, 5}, {10, 28}},
                                             {{5, 28}, {35, 3}, {36, 20}},
                                             {{2, 29}, {20, 28}, {38, 29}, {20, 3}}};
    std::uint32_t state = 12345;
    const auto next = [&state](int range) {
        state = state * 1103515245u + 12345u;
        return int(state >> 16) % range;
    };
    for (int i = 0; i < 400; ++i) {
        std::vector<Point> v(std::size_t(3 + next(4)));
        for (Point& p : v) {
            p = {next(44) - 2, next(34) - 2};
            if (next(3) == 0) {
                p.y = 28;  // one row above the bottom edge
            }
        }
        barriers.push_back(v);
    }
    for (const std::vector<Point>& barrier : barriers) {
        Bitmap image = Textured(40, 30);
        Command command;
        const BarrierFillStatus status = command.Run(image, barrier, BarrierSide::Outside).status;
        ASSERT_NE(status, BarrierFillStatus::NoMemory);
        const std::vector<std::string> expected = ReferenceOutside(40, 30, barrier);
        ASSERT_EQ(KeyedRows(image), expected) << "barrier starting " << barrier[0].x << ","
                                              << barrier[0].y << " with " << barrier.size();
    }
}

// The command with a history that takes records: the record pushed is checked to put back the
// image as it was before the command, and the image as the command left it.
struct RecordingCommand {
    BarrierFillResult Run(Bitmap& image, const std::vector<Point>& vertices, BarrierSide side,
                          std::optional<Point> seed = {}) {
        const Bitmap before = Copy(image);
        const BarrierFillResult result = BarrierTransparent(
            image, kKey, vertices, side, seed,
            [&](const Rect& r) {
                // The snapshot must see the image as it was: a record that failed put it back.
                EXPECT_TRUE(test::SameBitmaps(before, image, "before_snapshot"));
                snapshots.push_back(r);
                return true;
            },
            [&](FillRecord& record) {
                if (!takeRecords) {
                    return false;
                }
                records.push_back(std::move(record));
                return true;
            },
            prompter);
        if (!records.empty() && result.status == BarrierFillStatus::Done && snapshots.empty()) {
            Bitmap undone = Copy(image);
            EXPECT_TRUE(records.back().Write(undone, true));
            EXPECT_TRUE(test::SameBitmaps(before, undone, "record_undone"));
            Bitmap redone = Copy(undone);
            EXPECT_TRUE(records.back().Write(redone, false));
            EXPECT_TRUE(test::SameBitmaps(image, redone, "record_redone"));
        }
        return result;
    }
    std::vector<Rect> snapshots;
    std::vector<FillRecord> records;
    bool takeRecords = true;
    test::RecordingPrompter prompter;
};

// Two colours, the second only in scattered pixels, some of them with another fourth byte: the
// record keeps the common one once and the rest one by one.
TEST(BarrierFill, ARecordedFillPutsBackEveryPixelAndStoresNoSnapshot) {
    for (const BarrierSide side : {BarrierSide::Inside, BarrierSide::Outside}) {
        Bitmap image = test::SolidBitmap(100, 90, PixelFromColour(Rgb(255, 255, 255)));
        for (int i = 0; i < 300; ++i) {
            image.Row((i * 37) % 90)[(i * 53) % 100] = i % 3 == 0 ? 0x00FFFFFFu : 0xFF102030u;
        }
        RecordingCommand command;
        const Bitmap before = Copy(image);
        ASSERT_EQ(command.Run(image, kConcave, side).status, BarrierFillStatus::Done);
        EXPECT_TRUE(command.snapshots.empty());
        ASSERT_EQ(command.records.size(), 1u);
        EXPECT_LT(command.records[0].Bytes(), image.ByteCount() / 4);
        // The same pixels as the command without a record.
        Bitmap plain = Copy(before);
        Command reference;
        reference.Run(plain, kConcave, side);
        EXPECT_TRUE(test::SameBitmaps(plain, image, "recorded_like_plain"));
    }
}

// A region of many colours is stored as a snapshot of the changed area only, also for the
// outside, whose changed area here is a band of the image.
TEST(BarrierFill, AManyColouredRegionStoresOnlyItsChangedArea) {
    Bitmap image = Textured(250, 100);
    const Bitmap before = Copy(image);
    RecordingCommand command;
    const std::vector<Point> acrossTheTop{{-5, 30}, {255, 30}, {255, 105}, {-5, 105}};
    const BarrierFillResult result = command.Run(image, acrossTheTop, BarrierSide::Outside);
    ASSERT_EQ(result.status, BarrierFillStatus::Done);
    EXPECT_TRUE(command.records.empty());
    ASSERT_EQ(command.snapshots.size(), 1u);
    EXPECT_EQ(command.snapshots[0], result.changed);
    EXPECT_EQ(result.changed, (Rect{0, 0, 250, 31}));
    Bitmap plain = Copy(before);
    Command reference;
    reference.Run(plain, acrossTheTop, BarrierSide::Outside);
    EXPECT_TRUE(test::SameBitmaps(plain, image, "snapshot_like_plain"));
}

TEST(BarrierFill, ARefusedRecordLeavesTheImageAsItWas) {
    Bitmap image = test::SolidBitmap(100, 100, PixelFromColour(Rgb(255, 255, 255)));
    const Bitmap before = Copy(image);
    RecordingCommand command;
    command.takeRecords = false;
    EXPECT_EQ(command.Run(image, kSquare, BarrierSide::Outside).status,
              BarrierFillStatus::SnapshotFailed);
    EXPECT_TRUE(test::SameBitmaps(before, image, "refused_record"));
    EXPECT_TRUE(command.snapshots.empty());
}

TEST(InsidePoint, ThreePixelsInsideTheFirstSidesMiddle) {
    EXPECT_EQ(FindInsidePoint(kSquare), (Point{50, 23}));
    // Counter-clockwise the first candidate falls outside and the one towards c is taken.
    EXPECT_EQ(FindInsidePoint(std::vector<Point>{{20, 20}, {20, 80}, {80, 80}, {80, 20}}),
              (Point{23, 50}));
    EXPECT_EQ(FindInsidePoint(std::vector<Point>{{1, 1}, {5, 5}}), kNoInsidePoint);
    EXPECT_EQ(FindInsidePoint(kSquare, [](Point) { return false; }), kNoInsidePoint);
}

TEST(FreeColour, FirstCandidateAbsentFromTheArea) {
    Bitmap image = test::SolidBitmap(10, 10, PixelFromColour(Rgb(255, 255, 255)));
    EXPECT_EQ(FindFreeColor(image, {0, 0, 10, 10}).colour, Rgb(255, 255, 247));
    image.WritePixel(3, 3, Rgb(255, 255, 247));
    EXPECT_EQ(FindFreeColor(image, {0, 0, 10, 10}).colour, Rgb(255, 255, 239));
    // Only the area counts, and its part beyond the image reads as white.
    EXPECT_EQ(FindFreeColor(image, {4, 4, 10, 10}).colour, Rgb(255, 255, 247));
    image.Fill(PixelFromColour(Rgb(0, 0, 0)));
    EXPECT_EQ(FindFreeColor(image, {0, 0, 10, 10}).colour, Rgb(255, 255, 255));
    EXPECT_EQ(FindFreeColor(image, {-1, 0, 10, 10}).colour, Rgb(255, 255, 247));
    // Levels below 255 follow (31 - k) x 8 + (31 - k) / 4: blue steps first, then green.
    Bitmap blues;
    ASSERT_TRUE(blues.Create(32, 1));
    for (int k = 0; k < 32; ++k) {
        blues.WritePixel(k, 0, Rgb(255, 255, (31 - k) * 8 + (31 - k) / 4));
    }
    EXPECT_EQ(FindFreeColor(blues, blues.Bounds()).colour, Rgb(255, 247, 255));
}

TEST(FreeColour, OnlyTheMissingCandidateIsFreeWhatEverElseSharesItsLevels) {
    // Every candidate but X, then every colour whose channels round to X's levels without being
    // X's: none of those may count as X. Some candidates fill whole aligned 16-pixel blocks on
    // their own (the flat-block path), and rows of 181 pixels end in a tail after the blocks.
    const auto level = [](int k) { return (31 - k) * 8 + (31 - k) / 4; };
    const Colour missing = Rgb(level(9), level(30), level(0));
    const int width = 181;
    std::vector<Colour> pixels;
    const auto put = [&](Colour c, bool flatBlock) {
        if (flatBlock) {
            std::size_t x = pixels.size() % width;
            if (x % 16 != 0 || x + 16 > width) {
                x = x + 16 > width ? width : (x + 15) / 16 * 16;
                pixels.resize(pixels.size() - pixels.size() % width + x, pixels.back());
            }
        }
        pixels.insert(pixels.end(), flatBlock ? 16 : 1, c);
    };
    for (int k = 0; k < 32768; ++k) {
        const Colour c = Rgb(level(k >> 10), level(k >> 5 & 31), level(k & 31));
        if (c != missing) {
            put(c, k % 7 == 3);
        }
    }
    for (int r = 0; r < 8; ++r) {
        for (int g = 0; g < 8; ++g) {
            for (int b = 0; b < 8; ++b) {
                const Colour c = Rgb((RedOf(missing) & ~7) | r, (GreenOf(missing) & ~7) | g,
                                     (BlueOf(missing) & ~7) | b);
                if (c != missing) {
                    put(c, false);
                }
            }
        }
    }
    Bitmap image;
    ASSERT_TRUE(image.Create(width, static_cast<int>(pixels.size()) / width + 1));
    image.Fill(PixelFromColour(pixels.back()));
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        image.WritePixel(static_cast<int>(i) % width, static_cast<int>(i) / width, pixels[i]);
    }
    const FreeColour found = FindFreeColor(image, image.Bounds());
    EXPECT_EQ(found.status, FreeColourStatus::Found);
    EXPECT_EQ(found.colour, missing);
    image.WritePixel(width - 1, image.Height() - 1, missing);
    EXPECT_EQ(FindFreeColor(image, image.Bounds()).status, FreeColourStatus::NoneFree);
}

}  // namespace
}  // namespace palvex
