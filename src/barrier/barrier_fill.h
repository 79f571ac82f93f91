#pragma once

#include <functional>
#include <optional>
#include <span>

#include "barrier/pixel_mask.h"
#include "base/prompter.h"
#include "image/bitmap.h"
#include "image/colour.h"
#include "image/geometry.h"
#include "image/raster/fill_record.h"

namespace palvex {

// Turning the inside or the outside of the barrier into the key. The outline (the closed
// polyline through the vertices, 8-connected one-pixel lines) is a wall for a 4-connected flood;
// the flooded region, with the outline pixels 4-connected to it, becomes the key. The flood runs
// in masks of its own, never in the image, so no pixel colour can stop it or be mistaken for
// the wall, and outline pixels that are not taken keep their colour.

enum class BarrierSide { Inside, Outside };

enum class BarrierFillStatus {
    Done,
    NothingToChange,  // no seed, or every pixel of the region is already the key
    NoInside,         // the inside command on a barrier that encloses no pixel
    NoMemory,
    SnapshotFailed,  // nothing was written
};

// What a fill will turn into the key, worked out before any pixel is written, so that the caller
// saves exactly that first.
class BarrierFillPlan {
public:
    bool Empty() const { return changed_.IsEmpty(); }
    // What to save before Apply (an empty rectangle: the whole image): the whole image for the
    // outside, the barrier's bounding box grown by 4 for the inside, grown to the changed
    // pixels when a seeded fill reaches beyond it.
    Rect SnapshotRect() const { return snapshot_; }
    // The bounding box of the pixels that change.
    Rect ChangedRect() const { return changed_; }

private:
    friend class BarrierFillPlanner;
    friend void ApplyBarrierFill(const BarrierFillPlan& plan, Bitmap& image, Colour key);
    friend bool ApplyBarrierFill(const BarrierFillPlan& plan, Bitmap& image, Colour key,
                                 FillRecord& record);

    Rect domain_;      // the image area the masks cover
    PixelMask taken_;  // pixels of domain_ that become the key
    Rect snapshot_;
    Rect changed_;
};

// The ribbon commands: the inside from FindInsidePoint's seed (candidates on the outline, outside
// the image, or whose region is not enclosed are passed over), the outside from every border
// sample outside the barrier whose pixel is not already the key.
BarrierFillStatus PlanBarrierFill(const Bitmap& image, Colour key, std::span<const Point> vertices,
                                  BarrierSide side, BarrierFillPlan& plan);

// The context-menu commands: the region around an image point. `side` chooses the snapshot (the
// outside command saves the whole image). A seed on the outline takes only the outline
// connected to it.
BarrierFillStatus PlanSeededBarrierFill(const Bitmap& image, Colour key,
                                        std::span<const Point> vertices, BarrierSide side,
                                        Point seed, BarrierFillPlan& plan);

// Writes the key into the planned pixels of the image the plan was made on.
void ApplyBarrierFill(const BarrierFillPlan& plan, Bitmap& image, Colour key);
// The same, recording what it overwrites: the runs and the value most of them held, with the
// pixels that held another kept one by one. A region of many colours outgrows the record's
// budget (a quarter of a copy of the changed area): then the image is put back as it was and
// false returned, and the caller stores a snapshot instead.
[[nodiscard]] bool ApplyBarrierFill(const BarrierFillPlan& plan, Bitmap& image, Colour key,
                                    FillRecord& record);

// Saves a rectangle of the image (empty: all of it) for undo; false when that failed, after
// telling the user.
using SnapshotPush = std::function<bool(const Rect&)>;
// Takes what a fill overwrote as its undo step, moving it out; false when it could not (the user
// was told), and then the record is left as it was.
using RecordPush = std::function<bool(FillRecord&)>;

struct BarrierFillResult {
    BarrierFillStatus status = BarrierFillStatus::NothingToChange;
    Rect changed;  // for the repaint; empty unless Done
};

// A whole command: plan, push the snapshot, write. Nothing is pushed or written when nothing
// would change; a failed push abandons the fill. 30001 when the masks cannot be allocated. The
// caller marks the document modified only on Done.
BarrierFillResult BarrierTransparent(Bitmap& image, Colour key, std::span<const Point> vertices,
                                     BarrierSide side, std::optional<Point> seed,
                                     const SnapshotPush& pushSnapshot, Prompter& prompter);
// With a history that takes records: the fill is written with its record, which becomes the
// step; only a region too many-coloured to record costs a snapshot, of the changed area alone.
BarrierFillResult BarrierTransparent(Bitmap& image, Colour key, std::span<const Point> vertices,
                                     BarrierSide side, std::optional<Point> seed,
                                     const SnapshotPush& pushSnapshot, const RecordPush& pushRecord,
                                     Prompter& prompter);

}  // namespace palvex
