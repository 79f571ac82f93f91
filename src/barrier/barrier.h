#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>

#include "base/prompter.h"
#include "image/geometry.h"

namespace palvex {

// The barrier: one polygon over the image, placed vertex by vertex, edited and reshaped. All
// coordinates are image pixels unless a parameter says window. The vertex store is a fixed
// array, so placing, dragging and hit-testing never allocate.

inline constexpr int kBarrierCapacity = 1000;
// Placing stops here so that closing, which appends at most four corners, still fits.
inline constexpr int kBarrierPlacingLimit = 996;
// The placing timer ticks every 5 seconds and ends placing at the 12th tick.
inline constexpr int kBarrierTimerTicks = 12;
inline constexpr int kBarrierTickSeconds = 5;
// Frames and rubber bands are never narrower or lower than this.
inline constexpr int kBarrierMinFrame = 15;

enum class ClosingDirection { Clockwise, CounterClockwise };
enum class Axis { X, Y };

struct Modifiers {
    bool shift = false;
    bool ctrl = false;
};

// How the canvas shows the image: window = trunc(image x zoom) - scroll.
struct BarrierView {
    float zoom = 1.0f;
    Point scroll;
};

// What an undo step keeps of the barrier: the vertex list, not the selection.
struct BarrierSnapshot {
    int count = 0;
    std::array<Point, kBarrierCapacity> vertices{};
};

// Code of HitTestBarrier: a vertex index (0 or more), or one of these.
inline constexpr int kHitNothing = -1;
inline constexpr int kHitInside = -2;
inline constexpr int kHitSide = -3;

struct BarrierHitResult {
    int code = kHitNothing;
    int a = -1;  // the ends of the side for kHitSide (the closing side: a = 0, b = count-1)
    int b = -1;
};

enum class BarrierDrag { None, Vertices, Whole, FrameHandle, RubberBand };

// The context menus, by their index in the resource menu.
enum class BarrierMenu { Inside = 3, Vertex = 4, Side = 5, Outside = 6 };

// The pointer over the canvas while no button is held.
enum class BarrierPointer {
    Arrow,
    Vertex,   // resource cursor 608; also over a frame side
    Placing,  // 609
    Side,     // 610
    Hand,
    SizeNwSe,
    SizeNeSw,
    SizeNs,
    SizeWe,
};

struct BarrierHover {
    BarrierPointer pointer = BarrierPointer::Arrow;
    int guide = 0;  // a string-table id to show, 0 for none
};

// What a placing step asks of the canvas.
struct PlacingResult {
    bool repaint = false;
    bool ended = false;  // adding mode ended: stop the timer, reset its label
    int guide = 0;       // string-table id to show; with `clearGuide` the guide is emptied
    bool clearGuide = false;
};

// Where a whole move changed the picture (image pixels, right and bottom inclusive): the canvas
// repaints only this, enlarged for markers and numbers.
struct BarrierMoveArea {
    Rect before;
    Rect after;
};

class Barrier {
public:
    // Saves the vertex list for undo before every change of it; false abandons the change. With
    // none set, changes go ahead unrecorded.
    void SetSnapshotPush(std::function<bool()> push) { pushSnapshot_ = std::move(push); }

    // --- Reading ---
    int Count() const { return count_; }
    std::span<const Point> Vertices() const { return {vertices_.data(), std::size_t(count_)}; }
    Point Vertex(int i) const { return vertices_[std::size_t(i)]; }
    bool IsSelected(int i) const { return selected_[std::size_t(i)] != 0; }
    int SelectedCount() const;
    int MainVertex() const { return mainVertex_; }
    bool WholeSelection() const { return wholeSelection_; }
    // The frame shown while the whole selection is on (right and bottom inclusive): the frame
    // the last operation set, or the vertices' bounding rectangle when a press cleared it.
    std::optional<Rect> Frame() const;
    // The eight handle points of the frame in drawing order: corners clockwise from the top
    // left, then the middles of the top, right, bottom and left sides.
    std::array<Point, 8> FrameHandles() const;
    int SelectedSide() const { return selectedSide_; }
    std::uint16_t ClosingMark() const { return closingMark_; }

    // --- Whole-list changes ---
    BarrierSnapshot TakeSnapshot() const;
    // Undo and redo: the list comes back with nothing selected and no frame.
    void RestoreSnapshot(const BarrierSnapshot& snapshot);
    // A barrier read from a file; at most kBarrierCapacity vertices are taken. Pushes a
    // snapshot first; false (nothing changed) when that fails.
    bool ReplaceVertices(std::span<const Point> vertices);
    // Command 381, Delete in the whole selection, and the loaders.
    bool EraseBarrier();
    // Command 392: the selection rectangle (right and bottom one beyond) becomes the barrier.
    bool SelectionToBarrier(const Rect& selection);
    // Back to the state of a freshly prepared view (the vertices stay).
    void ResetEditingState();
    void ClearVertexSelection();
    // No vertex selected, no whole selection, no main vertex.
    void ClearSelection();

    // --- Placing ---
    bool Adding() const { return adding_; }
    int Ticks() const { return ticks_; }
    // The label of the timer button: 60, 55, ..., 5.
    int SecondsLeft() const { return (kBarrierTimerTicks - ticks_) * kBarrierTickSeconds; }
    PlacingResult StartAdding();
    PlacingResult EndAdding(Size image, ClosingDirection direction);
    // A left press in adding mode at an image point.
    PlacingResult PlacingClick(Point p, bool shift, Size image, ClosingDirection direction);
    PlacingResult Escape();
    // One 5-second tick; the 12th ends adding.
    PlacingResult Tick(Size image, ClosingDirection direction);
    void RestartTimer() { ticks_ = 0; }
    // Completes the chain along the border when an end touches it.
    void CloseBarrier(Size image, ClosingDirection direction);
    // Commands 383 and 384 after the direction setting changed: the corners of the last closing
    // are replaced by those of the new direction. True when the barrier changed.
    bool Reclose(Size image, ClosingDirection direction);

    // --- Enabling ---
    bool CanStartAdding(bool imageLoaded) const { return imageLoaded; }
    bool CanSaveOrFill() const { return !adding_ && count_ > 0; }  // 443, 445, 446
    bool CanLoad(bool imageLoaded) const { return imageLoaded && !adding_; }
    bool CanLeaveBarrierMode() const { return !adding_; }  // 398, and other ribbon tabs
    bool CanAlign(bool barrierMode) const { return barrierMode && SelectedCount() >= 2; }
    bool CanSpaceEvenly(bool barrierMode) const { return barrierMode && SelectedCount() >= 3; }
    // The items of the context menus (393-400, 463, 464, 355).
    bool IsMenuItemEnabled(int command) const;

    // --- Selection and editing ---
    BarrierHitResult HitTest(Point window, const BarrierView& view) const;
    // The frame handle under a window point, or -1.
    int HandleAt(Point window, const BarrierView& view) const;
    BarrierHover Hover(Point window, const BarrierView& view) const;
    // Left button press, move and release (adding mode off). True when the canvas repaints.
    bool Press(Point window, const BarrierView& view, Modifiers mods);
    // Updates the drag preview; true when it changed.
    bool Move(Point window, const BarrierView& view, Size image);
    struct ReleaseResult {
        bool repaint = false;
        bool refreshImageInfo = false;
        std::optional<BarrierMoveArea> area;  // a whole move repaints only this
    };
    ReleaseResult Release(Modifiers mods);
    BarrierDrag Dragging() const { return drag_.kind; }
    // Preview of a vertex drag or a whole move: the displacement the release will apply.
    Point PendingOffset() const { return drag_.offset; }
    // Preview of a frame resize.
    Rect DraggedFrame() const { return drag_.frame; }
    // Preview of a rubber band once it is wider or higher than 9 window pixels (image points).
    std::optional<Rect> RubberBand() const;
    // Right button release: picks the menu and sets the selection it works on.
    BarrierMenu ContextMenu(Point window, const BarrierView& view);
    // An arrow key, step (-1, 0), (0, 1)...: 10 pixels, 1 with Ctrl.
    ReleaseResult ArrowKey(Point direction, Modifiers mods, Size image);
    bool TabKey(bool backwards);
    bool DeleteSelectedVertices(Prompter& prompter);
    bool InsertOnSide(int k, Prompter& prompter);

    // --- Shape operations ---
    bool ResizeBarrier(int d, Size image);
    bool MultiplyVertices(int k, Prompter& prompter);
    bool ThinVertices(int k);
    bool PlaceOnRect();
    bool PlaceOnEllipse();
    bool AlignToMain(Axis axis);
    bool SpaceEvenly(Axis axis, Prompter& prompter);

private:
    struct DragState {
        BarrierDrag kind = BarrierDrag::None;
        Point anchor;     // window point of the press
        Point offset;     // pending displacement, image pixels
        Rect bounds;      // bounding rectangle of the vertices at the press
        Rect frame;       // the frame being dragged
        Rect startFrame;  // the frame at the press
        int handle = -1;
        Point bandStart;  // image point
        Point bandStartWindow;
        Point bandEnd;
        bool bandRecorded = false;
    };

    bool PushSnapshot();
    // Every change of the vertex list except closing forgets what the last closing appended.
    void VerticesChanged() { closingMark_ = 0; }
    void SelectAll();
    void SelectOnly(int a, int b);
    Point ClampVertexOffset(Point d, Size image) const;
    Point ClampFrameOffset(Point d, Size image) const;
    ReleaseResult MoveWhole(Point d);
    bool MoveSelected(Point d);
    bool ApplyFrame(const Rect& from, const Rect& to);
    bool AppendIfRoom(Point p);
    std::span<const Point> Zoomed(const BarrierView& view) const;
    Point ZoomedToWindow(Point image, const BarrierView& view) const;

    int count_ = 0;
    std::array<Point, kBarrierCapacity> vertices_{};
    std::array<std::uint8_t, kBarrierCapacity> selected_{};
    int mainVertex_ = -1;
    bool wholeSelection_ = false;
    std::optional<Rect> frame_;
    int selectedSide_ = 1;
    bool adding_ = false;
    int ticks_ = 0;
    std::uint16_t closingMark_ = 0;
    DragState drag_;
    // Hit tests run on every mouse move: the zoomed vertices are kept here, not allocated.
    mutable std::array<Point, kBarrierCapacity> zoomed_{};
    std::function<bool()> pushSnapshot_;
};

}  // namespace palvex
