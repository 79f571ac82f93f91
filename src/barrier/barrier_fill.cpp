#include "barrier/barrier_fill.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <limits>
#include <vector>

#include "barrier/inside_point.h"
#include "geometry/math_sub.h"
#include "image/raster/line.h"
#include "image/raster/scanline_fill.h"
#include "resources/string_table.h"

namespace palvex {
namespace {

using Word = PixelMask::Word;

int Saturate(std::int64_t value) {
    return static_cast<int>(std::clamp<std::int64_t>(value, std::numeric_limits<int>::min(),
                                                     std::numeric_limits<int>::max()));
}

// The inside's snapshot: the bounding box grown by 4 on every side, right and bottom exclusive
// as the snapshot takes them (so the grown box's last column and row are not in it).
Rect GrownBounds(const Rect& bounds) {
    return {Saturate(std::int64_t{bounds.left} - 4), Saturate(std::int64_t{bounds.top} - 4),
            Saturate(std::int64_t{bounds.right} + 4), Saturate(std::int64_t{bounds.bottom} + 4)};
}

// A fill over masks: the pixels whose bit in qualifying(y, word) is set qualify, and filling
// sets them in `target`, which the qualifying words must exclude.
template <class Qualifying>
class MaskPolicy {
public:
    MaskPolicy(Qualifying qualifying, PixelMask& target)
        : qualifying_(qualifying), target_(target) {}

    bool Qualifies(int y, int x) const { return (qualifying_(y, x >> 6) >> (x & 63) & 1) != 0; }
    int RunStart(int y, int x) const { return FindBitBefore(Words(y), x, false) + 1; }
    int RunEnd(int y, int x, int end) const { return FindBit(Words(y), x, end, false); }
    int NextQualifying(int y, int x, int end) const { return FindBit(Words(y), x, end, true); }
    void Fill(int y, int x0, int x1) { target_.SetRun(y, x0, x1); }

private:
    auto Words(int y) const {
        return [this, y](int i) { return qualifying_(y, i); };
    }

    Qualifying qualifying_;
    PixelMask& target_;
};

}  // namespace

// Works out one plan. Coordinates given and taken are image coordinates; the masks cover
// `domain_`, which is the whole image or, for a region enclosed by the outline, the barrier's
// grown bounding box inside the image, so that the inside costs what its box costs.
class BarrierFillPlanner {
public:
    BarrierFillPlanner(const Bitmap& image, Colour key, std::span<const Point> vertices)
        : image_(image),
          keyRgb_(PixelFromColour(key) & kRgbMask),
          vertices_(vertices),
          bounds_(CMathSub::BoundingRect(vertices)) {}

    BarrierFillStatus Inside(BarrierFillPlan& plan) {
        if (!Prepare(GrownBounds(bounds_).Intersected(image_.Bounds()))) {
            return status_;
        }
        // A candidate next to the outline on its outer side can pass the winding test; its
        // region then runs out of the box and it is no seed.
        const Point seed = FindInsidePoint(vertices_, [this](Point q) { return TrySeed(q); });
        if (seed == kNoInsidePoint && !SearchInside()) {
            return status_;
        }
        TakeOutline({});
        return Finish(BarrierSide::Inside, plan);
    }

    BarrierFillStatus Outside(BarrierFillPlan& plan) {
        if (!Prepare(image_.Bounds())) {
            return status_;
        }
        // A sample in a region already flooded or on the outline still counts as not
        // transparent; one on the outline takes the outline around it.
        std::vector<Point> onOutline;
        for (const Point s : CMathSub::BorderSamplePoints(image_.Width(), image_.Height())) {
            if (CMathSub::PointInPolygon(s, vertices_) || !image_.Contains(s.x, s.y)) {
                continue;
            }
            const bool painted = OnWall(s) || InRegion(s);
            if (!painted && (image_.Row(s.y)[s.x] & kRgbMask) == keyRgb_) {
                continue;
            }
            if (!painted) {
                Flood(s);
            } else if (OnWall(s)) {
                onOutline.push_back(s);
            }
        }
        TakeOutline(onOutline);
        return Finish(BarrierSide::Outside, plan);
    }

    BarrierFillStatus Seeded(BarrierSide side, Point seed, BarrierFillPlan& plan) {
        if (!image_.Contains(seed.x, seed.y)) {
            return BarrierFillStatus::NothingToChange;
        }
        const bool inside = CMathSub::PointInPolygon(seed, vertices_);
        if (!Prepare(inside ? GrownBounds(bounds_).Intersected(image_.Bounds())
                            : image_.Bounds())) {
            return status_;
        }
        if (OnWall(seed)) {
            TakeOutline({seed});
            return Finish(side, plan);
        }
        if (!Enclosed(Flood(seed)) && domain_ != image_.Bounds()) {
            // Not enclosed after all: the region goes on beyond the box.
            if (!Prepare(image_.Bounds())) {
                return status_;
            }
            Flood(seed);
        }
        TakeOutline({});
        return Finish(side, plan);
    }

private:
    // Masks over `domain` with the outline drawn as the wall.
    bool Prepare(const Rect& domain) {
        domain_ = domain;
        if (vertices_.empty() || domain.IsEmpty()) {
            status_ = BarrierFillStatus::NothingToChange;
            return false;
        }
        if (!wall_.Create(domain.Width(), domain.Height()) ||
            !region_.Create(domain.Width(), domain.Height())) {
            status_ = BarrierFillStatus::NoMemory;
            return false;
        }
        // Each side without its end pixel, the closing side too: the pen's closed polyline.
        const std::size_t n = vertices_.size();
        for (std::size_t i = 0; i < n && n > 1; ++i) {
            LinePixels(vertices_[i], vertices_[(i + 1) % n], false, domain,
                       [this](Point p) { wall_.Set(p.x - domain_.left, p.y - domain_.top); });
        }
        return true;
    }

    // A seed must lie in the box, off the outline, and flood a region the outline encloses.
    bool TrySeed(Point q) {
        if (!domain_.Contains(q.x, q.y) || OnWall(q)) {
            return false;
        }
        if (Enclosed(Flood(q))) {
            return true;
        }
        region_.Clear();
        return false;
    }

    // The side candidates miss thin, self-crossing and partly off-image barriers: then the
    // pixels of the box inside by the winding rule are searched, and of the regions they lie in
    // that the outline encloses the largest is taken (a thin barrier's outline can pinch its
    // inside into pockets). Every region is flooded once.
    bool SearchInside() {
        status_ = BarrierFillStatus::NoInside;
        const Rect box = Rect{bounds_.left, bounds_.top, Saturate(std::int64_t{bounds_.right} + 1),
                              Saturate(std::int64_t{bounds_.bottom} + 1)}
                             .Intersected(domain_);
        if (box.IsEmpty()) {
            return false;
        }
        PixelMask tried;
        PixelMask best;
        std::size_t bestCount = 0;
        if (!tried.Create(domain_.Width(), domain_.Height())) {
            status_ = BarrierFillStatus::NoMemory;
            return false;
        }
        for (int y = box.top; y < box.bottom; ++y) {
            for (int x = box.left; x < box.right; ++x) {
                const Point q{x, y};
                if (OnWall(q) || tried.Test(x - domain_.left, y - domain_.top) ||
                    !CMathSub::PointInPolygon(q, vertices_)) {
                    continue;
                }
                const Rect filled = Flood(q);
                std::size_t count = 0;
                for (int row = filled.top - domain_.top; row < filled.bottom - domain_.top; ++row) {
                    for (std::size_t i = 0; i < tried.WordsPerRow(); ++i) {
                        count += std::size_t(std::popcount(region_.Row(row)[i]));
                        tried.Row(row)[i] |= region_.Row(row)[i];
                    }
                }
                if (Enclosed(filled) && count > bestCount) {
                    bestCount = count;
                    best = std::move(region_);
                    if (!region_.Create(domain_.Width(), domain_.Height())) {
                        status_ = BarrierFillStatus::NoMemory;
                        return false;
                    }
                } else {
                    region_.Clear();
                }
            }
        }
        if (bestCount == 0) {
            return false;
        }
        region_ = std::move(best);
        return true;
    }

    bool OnWall(Point p) const { return wall_.Test(p.x - domain_.left, p.y - domain_.top); }
    bool InRegion(Point p) const { return region_.Test(p.x - domain_.left, p.y - domain_.top); }

    // The border fill: everything 4-connected to p that is not wall. Returns the filled box in
    // image coordinates.
    Rect Flood(Point p) {
        const auto open = [this](int y, int i) { return ~(wall_.Row(y)[i] | region_.Row(y)[i]); };
        MaskPolicy policy(open, region_);
        return detail::ScanlineFill(policy, domain_.Width(), domain_.Height(),
                                    {p.x - domain_.left, p.y - domain_.top})
            .Translated(domain_.left, domain_.top);
    }

    // The surface fill from every seed turns the flooded regions (each was flooded from a seed)
    // and the outline 4-connected to them, or to `wallSeeds`, into the key. The outline is one
    // pixel wide, so a walk pixel by pixel along it is cheap; the taken outline joins the region
    // mask, which then holds every pixel to change.
    void TakeOutline(const std::vector<Point>& wallSeeds) {
        const int width = domain_.Width();
        const int height = domain_.Height();
        const std::size_t words = region_.WordsPerRow();
        std::vector<Point> pending;
        for (const Point p : wallSeeds) {
            pending.push_back({p.x - domain_.left, p.y - domain_.top});
        }
        for (int y = 0; y < height; ++y) {
            const Word* region = region_.Row(y);
            const Word* up = y > 0 ? region_.Row(y - 1) : nullptr;
            const Word* down = y + 1 < height ? region_.Row(y + 1) : nullptr;
            const Word* wall = wall_.Row(y);
            for (std::size_t i = 0; i < words; ++i) {
                if (wall[i] == 0) {
                    continue;
                }
                const Word left = region[i] << 1 | (i > 0 ? region[i - 1] >> 63 : 0);
                const Word right = region[i] >> 1 | (i + 1 < words ? region[i + 1] << 63 : 0);
                Word touching = wall[i] & (left | right | (up != nullptr ? up[i] : 0) |
                                           (down != nullptr ? down[i] : 0));
                for (; touching != 0; touching &= touching - 1) {
                    pending.push_back({static_cast<int>(i * 64) + std::countr_zero(touching), y});
                }
            }
        }
        while (!pending.empty()) {
            const Point p = pending.back();
            pending.pop_back();
            if (region_.Test(p.x, p.y)) {
                continue;
            }
            region_.Set(p.x, p.y);
            for (const Point q : {Point{p.x - 1, p.y}, Point{p.x + 1, p.y}, Point{p.x, p.y - 1},
                                  Point{p.x, p.y + 1}}) {
                if (q.x >= 0 && q.y >= 0 && q.x < width && q.y < height && wall_.Test(q.x, q.y) &&
                    !region_.Test(q.x, q.y)) {
                    pending.push_back(q);
                }
            }
        }
    }

    // A region enclosed by the outline lies inside the outline's bounding box.
    bool Enclosed(const Rect& filled) const {
        return filled.left >= bounds_.left && filled.top >= bounds_.top &&
               filled.right - 1 <= bounds_.right && filled.bottom - 1 <= bounds_.bottom;
    }

    BarrierFillStatus Finish(BarrierSide side, BarrierFillPlan& plan) {
        int minX = std::numeric_limits<int>::max();
        int minY = minX;
        int maxX = std::numeric_limits<int>::min();
        int maxY = maxX;
        for (int y = 0; y < region_.Height(); ++y) {
            const Pixel* row = image_.Row(domain_.top + y) + domain_.left;
            ForEachRun(region_, y, [&](int x0, int x1) {
                const auto differs = [this](Pixel p) { return (p & kRgbMask) != keyRgb_; };
                const Pixel* first = std::find_if(row + x0, row + x1, differs);
                if (first == row + x1) {
                    return;
                }
                const auto last = std::find_if(std::reverse_iterator(row + x1),
                                               std::reverse_iterator(first), differs);
                minX = std::min(minX, static_cast<int>(first - row));
                maxX = std::max(maxX, static_cast<int>(last.base() - 1 - row));
                minY = std::min(minY, y);
                maxY = std::max(maxY, y);
            });
        }
        if (minX > maxX) {
            return BarrierFillStatus::NothingToChange;
        }
        plan.domain_ = domain_;
        plan.changed_ = Rect{minX, minY, maxX + 1, maxY + 1}.Translated(domain_.left, domain_.top);
        plan.snapshot_ =
            side == BarrierSide::Outside ? Rect{} : GrownBounds(bounds_).United(plan.changed_);
        plan.taken_ = std::move(region_);
        return BarrierFillStatus::Done;
    }

    const Bitmap& image_;
    Pixel keyRgb_;
    std::span<const Point> vertices_;
    Rect bounds_;  // of the vertices, right and bottom inclusive
    Rect domain_;
    PixelMask wall_;
    PixelMask region_;  // flooded, and at the end everything taken
    BarrierFillStatus status_ = BarrierFillStatus::NothingToChange;
};

BarrierFillStatus PlanBarrierFill(const Bitmap& image, Colour key, std::span<const Point> vertices,
                                  BarrierSide side, BarrierFillPlan& plan) {
    BarrierFillPlanner planner(image, key, vertices);
    return side == BarrierSide::Inside ? planner.Inside(plan) : planner.Outside(plan);
}

BarrierFillStatus PlanSeededBarrierFill(const Bitmap& image, Colour key,
                                        std::span<const Point> vertices, BarrierSide side,
                                        Point seed, BarrierFillPlan& plan) {
    BarrierFillPlanner planner(image, key, vertices);
    return planner.Seeded(side, seed, plan);
}

void ApplyBarrierFill(const BarrierFillPlan& plan, Bitmap& image, Colour key) {
    if (plan.Empty()) {
        return;
    }
    const Pixel value = PixelFromColour(key);
    const Rect& domain = plan.domain_;
    for (int y = 0; y < plan.taken_.Height(); ++y) {
        Pixel* row = image.Row(domain.top + y) + domain.left;
        ForEachRun(plan.taken_, y,
                   [row, value](int x0, int x1) { std::fill(row + x0, row + x1, value); });
    }
}

namespace {

// The old value the record keeps once for all runs: the commonest among pixels sampled from
// about a hundred rows of the region, so that a plain background is found even where the
// outline crosses other colours.
Pixel CommonValue(const PixelMask& taken, const Rect& domain, const Bitmap& image) {
    constexpr int kRows = 128;
    constexpr std::size_t kLimit = 1024;
    std::vector<Pixel> samples;
    const int step = std::max(1, taken.Height() / kRows);
    for (int y = 0; y < taken.Height() && samples.size() < kLimit; y += step) {
        const Pixel* row = image.Row(domain.top + y) + domain.left;
        ForEachRun(taken, y, [&samples, row](int x0, int x1) {
            if (samples.size() < kLimit) {
                samples.push_back(row[x0 + (x1 - x0) / 2]);
            }
        });
    }
    if (samples.empty()) {
        return 0;
    }
    std::sort(samples.begin(), samples.end());
    Pixel best = samples.front();
    std::size_t bestCount = 0;
    for (std::size_t i = 0; i < samples.size();) {
        std::size_t j = i;
        while (j < samples.size() && samples[j] == samples[i]) {
            ++j;
        }
        if (j - i > bestCount) {
            bestCount = j - i;
            best = samples[i];
        }
        i = j;
    }
    return best;
}

}  // namespace

bool ApplyBarrierFill(const BarrierFillPlan& plan, Bitmap& image, Colour key, FillRecord& record) {
    record = FillRecord();
    if (plan.Empty()) {
        return true;
    }
    const Rect& domain = plan.domain_;
    const Rect& changed = plan.changed_;
    record = FillRecord(
        image.Width(), image.Height(), CommonValue(plan.taken_, domain, image),
        PixelFromColour(key),
        static_cast<std::size_t>(changed.Width()) * static_cast<std::size_t>(changed.Height()));
    for (int y = 0; y < plan.taken_.Height() && !record.Lost(); ++y) {
        Pixel* row = image.Row(domain.top + y);
        ForEachRun(plan.taken_, y, [&record, row, y, &domain](int x0, int x1) {
            if (!record.Lost()) {
                (void)record.Fill(domain.top + y, domain.left + x0, domain.left + x1, row);
            }
        });
    }
    if (record.Lost()) {
        record.Write(image, true);  // what was written goes back
        return false;
    }
    return true;
}

BarrierFillResult BarrierTransparent(Bitmap& image, Colour key, std::span<const Point> vertices,
                                     BarrierSide side, std::optional<Point> seed,
                                     const SnapshotPush& pushSnapshot, Prompter& prompter) {
    return BarrierTransparent(image, key, vertices, side, seed, pushSnapshot, {}, prompter);
}

BarrierFillResult BarrierTransparent(Bitmap& image, Colour key, std::span<const Point> vertices,
                                     BarrierSide side, std::optional<Point> seed,
                                     const SnapshotPush& pushSnapshot, const RecordPush& pushRecord,
                                     Prompter& prompter) {
    BarrierFillPlan plan;
    const BarrierFillStatus status =
        seed ? PlanSeededBarrierFill(image, key, vertices, side, *seed, plan)
             : PlanBarrierFill(image, key, vertices, side, plan);
    if (status == BarrierFillStatus::NoMemory) {
        prompter.Error(str::kMemoryAllocationFailed);
    } else if (status == BarrierFillStatus::NoInside) {
        // Doing nothing without a word would look like a fault.
        prompter.Information(str::kBarrierHasNoInside);
    }
    if (status != BarrierFillStatus::Done) {
        return {status, {}};
    }
    Rect snapshot = plan.SnapshotRect();
    if (pushRecord) {
        FillRecord record;
        if (ApplyBarrierFill(plan, image, key, record)) {
            if (!pushRecord(record)) {
                record.Write(image, true);
                return {BarrierFillStatus::SnapshotFailed, {}};
            }
            return {BarrierFillStatus::Done, plan.ChangedRect()};
        }
        // Too many colours to record: only the changed area is stored, not the whole image.
        snapshot = plan.ChangedRect();
    }
    if (!pushSnapshot(snapshot)) {
        return {BarrierFillStatus::SnapshotFailed, {}};
    }
    ApplyBarrierFill(plan, image, key);
    return {BarrierFillStatus::Done, plan.ChangedRect()};
}

}  // namespace palvex
