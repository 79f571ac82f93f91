#include "barrier/ui/barrier_tool.h"

#include <QAction>
#include <QInputEvent>
#include <algorithm>
#include <cmath>

#include "canvas/ui/vemmar_view.h"
#include "mainwindow/ui/main_frame.h"
#include "mainwindow/ui/my_status_bar.h"
#include "resources/command_ids.h"
#include "tools/ui/canvas_input.h"
#include "tools/ui/tool_pointers.h"
#include "undo/undo_history.h"

namespace palvex::ui {
namespace {

constexpr int kTickMilliseconds = kBarrierTickSeconds * 1000;

PointerShape ShapeOf(BarrierPointer pointer) {
    switch (pointer) {
        case BarrierPointer::Vertex:
            return PointerShape::OverPoint;
        case BarrierPointer::Placing:
            return PointerShape::AddPoints;
        case BarrierPointer::Side:
            return PointerShape::OverSide;
        case BarrierPointer::Hand:
            return PointerShape::Hand;
        case BarrierPointer::SizeNwSe:
            return PointerShape::SizeDiagonalDown;
        case BarrierPointer::SizeNeSw:
            return PointerShape::SizeDiagonalUp;
        case BarrierPointer::SizeNs:
            return PointerShape::SizeVertical;
        case BarrierPointer::SizeWe:
            return PointerShape::SizeHorizontal;
        case BarrierPointer::Arrow:
            break;
    }
    return PointerShape::Arrow;
}

StoredBarrier ToStored(const BarrierSnapshot& snapshot) {
    StoredBarrier stored;
    stored.count = snapshot.count;
    stored.points = snapshot.vertices;
    return stored;
}

BarrierSnapshot FromStored(const StoredBarrier& stored) {
    BarrierSnapshot snapshot;
    snapshot.count = stored.count;
    snapshot.vertices = stored.points;
    return snapshot;
}

int Sign(int v) {
    return (v > 0) - (v < 0);
}

}  // namespace

BarrierTool::BarrierTool(Services services, QObject* parent)
    : QObject(parent), services_(services) {
    timer_.setInterval(kTickMilliseconds);
    connect(&timer_, &QTimer::timeout, this, &BarrierTool::TimerTick);
    services_.view.viewport()->installEventFilter(this);
    // The history keeps the vertex list; undo and redo put it back with nothing selected.
    barrier_.SetSnapshotPush([this] {
        EditHistory* history = services_.view.History();
        return history == nullptr || history->PushBarrierSnapshot();
    });
    if (EditHistory* history = services_.view.History()) {
        history->SetBarrierAccess(BarrierAccess{
            [this] { return ToStored(barrier_.TakeSnapshot()); },
            [this](const StoredBarrier& s) { barrier_.RestoreSnapshot(FromStored(s)); }});
    }
    connect(&services_.view, &CVemmarView::ImageLoaded, this, &BarrierTool::ImageLoaded);
    // The two closing directions show a check on the current one, so both can carry one.
    for (const int id : {cmd::ID_ROUND_R, cmd::ID_ROUND_L}) {
        if (QAction* action = services_.router.Action(id)) {
            action->setCheckable(true);
        }
    }
    historyLabels_ = BarrierHistory(services_.store).Entries();
}

BarrierTool::~BarrierTool() {
    timer_.stop();
    if (QWidget* viewport = services_.view.viewport()) {
        viewport->removeEventFilter(this);
    }
    if (EditHistory* history = services_.view.History()) {
        history->SetBarrierAccess(BarrierAccess{});
    }
}

bool BarrierTool::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseMove:
        case QEvent::Wheel:
            modifiers_ = static_cast<QInputEvent*>(event)->modifiers();
            break;
        default:
            break;
    }
    return QObject::eventFilter(watched, event);
}

bool BarrierTool::HasImage() const {
    return !services_.model.image.WorkImage.IsNull();
}

Size BarrierTool::ImageSize() const {
    return {services_.model.image.width, services_.model.image.height};
}

bool BarrierTool::BarrierMode() const {
    return ToolModeFromStored(services_.model.settings.toolMode) == ToolMode::Barrier;
}

BarrierView BarrierTool::View() const {
    return {services_.model.settings.zoomFactor, services_.view.ScrollPosition()};
}

ClosingDirection BarrierTool::Direction() const {
    return services_.model.settings.clockwise == 1 ? ClosingDirection::Clockwise
                                                   : ClosingDirection::CounterClockwise;
}

Modifiers BarrierTool::Mods() const {
    return {modifiers_.testFlag(Qt::ShiftModifier), modifiers_.testFlag(Qt::ControlModifier)};
}

void BarrierTool::Repaint() {
    services_.view.ForgetPointerOverlay();
    services_.view.SetDirtyRect({});
    services_.view.RepaintNow();
}

// An image rectangle with inclusive right and bottom, widened for the markers (and the numbers
// to the lower right) that stand beyond the vertices.
void BarrierTool::RepaintImageArea(const Rect& inclusive) {
    const float zoom = services_.model.settings.zoomFactor;
    const auto reach = [zoom](int window) { return int(std::ceil(float(window) / zoom)); };
    const bool numbers = services_.model.settings.showBarrierNumbers == 1;
    const int margin = reach(6);
    const Rect area{inclusive.left - margin, inclusive.top - margin,
                    inclusive.right + 1 + margin + (numbers ? reach(40) : 0),
                    inclusive.bottom + 1 + margin + (numbers ? reach(20) : 0)};
    const Rect image{0, 0, services_.model.image.width, services_.model.image.height};
    services_.view.ForgetPointerOverlay();
    // Markers and numbers stand beside the image too; a partial redraw paints only the image
    // layer, so an area reaching beyond the image is redrawn whole.
    const bool beyond = area.Intersected(image) != area;
    services_.view.SetDirtyRect(beyond ? Rect{} : area);
    services_.view.RepaintNow();
}

void BarrierTool::ShowGuide(int id) {
    services_.frame.StatusBar()->GuideHint(id);
}

void BarrierTool::Apply(const PlacingResult& result) {
    if (result.ended) {
        timer_.stop();
    }
    if (result.repaint) {
        Repaint();
    }
    if (result.guide != 0) {
        ShowGuide(result.guide);
    } else if (result.clearGuide && services_.model.settings.showGuide == 1) {
        services_.frame.StatusBar()->SetGuide({});
    }
    services_.router.UpdateActions();
}

void BarrierTool::TimerTick() {
    Apply(barrier_.Tick(ImageSize(), Direction()));
}

void BarrierTool::ImageLoaded() {
    timer_.stop();
    barrier_.ResetEditingState();
    barrier_.RestoreSnapshot(BarrierSnapshot{});
    services_.router.UpdateActions();
}

BarrierHit BarrierTool::HitBarrier(Point client) const {
    if (barrier_.Count() == 0) {
        return BarrierHit::None;
    }
    switch (const int code = barrier_.HitTest(client, View()).code) {
        case kHitNothing:
            return BarrierHit::None;
        case kHitInside:
            return BarrierHit::Inside;
        case kHitSide:
            return BarrierHit::Side;
        default:
            return code >= 0 ? BarrierHit::Point : BarrierHit::None;
    }
}

int BarrierTool::AnimationTargetAt(Point client) const {
    if (barrier_.Count() == 0 || barrier_.Adding() || barrier_.Dragging() != BarrierDrag::None) {
        return kHitNothing;
    }
    const BarrierHitResult hit = barrier_.HitTest(client, View());
    if (hit.code >= 0) {
        return barrier_.IsSelected(hit.code) ? kHitNothing : hit.code;
    }
    if (hit.code == kHitSide && !(barrier_.IsSelected(hit.a) && barrier_.IsSelected(hit.b))) {
        return kHitSide;
    }
    return kHitNothing;
}

bool BarrierTool::BarrierPress(Point client, Point q) {
    if (barrier_.Adding()) {
        Apply(barrier_.PlacingClick(q, Mods().shift, ImageSize(), Direction()));
        return false;
    }
    if (barrier_.Count() == 0) {
        return true;
    }
    const Modifiers mods = Mods();
    const bool repaint = barrier_.Press(client, View(), mods);
    if (repaint) {
        Repaint();
    }
    rubberBandCtrl_ = mods.ctrl;
    // A press outside the barrier starts a rubber band and settles like a finished press.
    return barrier_.Dragging() == BarrierDrag::RubberBand;
}

void BarrierTool::DeselectBarrierPoints() {
    // Ctrl keeps the selection that a rubber band adds to.
    if (barrier_.Dragging() == BarrierDrag::RubberBand && rubberBandCtrl_) {
        return;
    }
    // Any press elsewhere leaves the whole selection too, or Delete would erase the barrier.
    if (barrier_.SelectedCount() > 0 || barrier_.WholeSelection()) {
        barrier_.ClearSelection();
        Repaint();
    }
}

void BarrierTool::BarrierHover(Point client) {
    const palvex::BarrierHover hover = barrier_.Hover(client, View());
    services_.view.viewport()->setCursor(CursorFor(ShapeOf(hover.pointer)));
    if (hover.guide != 0) {
        ShowGuide(hover.guide);
    }
    // A selected target has nothing to point out; the animation keeps, stops or starts its rings.
    services_.input.Hooks().HoverBarrier(AnimationTargetAt(client), client, false);
}

bool BarrierTool::ResizeBarrier(int step) {
    if (barrier_.Adding() || !barrier_.ResizeBarrier(step, ImageSize())) {
        return false;
    }
    AfterShapeChange(true, true);
    return true;
}

void BarrierTool::PrepareBarrierMenu(ContextPopup /*popup*/, Point client) {
    if (!barrier_.Adding()) {
        barrier_.ContextMenu(client, View());
    }
}

bool BarrierTool::ContinueDrag(Point client, Point /*q*/) {
    if (barrier_.Adding()) {
        services_.view.viewport()->setCursor(CursorFor(PointerShape::AddPoints));
        return true;
    }
    if (barrier_.Dragging() == BarrierDrag::None) {
        return false;
    }
    if (barrier_.Move(client, View(), ImageSize())) {
        DrawPreview();
    }
    return true;
}

bool BarrierTool::EndDrag(Point /*client*/) {
    if (barrier_.Dragging() == BarrierDrag::None) {
        return false;
    }
    services_.view.ErasePointerOverlay();
    Release(barrier_.Release(Mods()));
    return true;
}

void BarrierTool::Release(const Barrier::ReleaseResult& result) {
    if (result.area) {
        const Rect& a = result.area->before;
        const Rect& b = result.area->after;
        RepaintImageArea({std::min(a.left, b.left), std::min(a.top, b.top),
                          std::max(a.right, b.right), std::max(a.bottom, b.bottom)});
    } else if (result.repaint) {
        Repaint();
    }
    if (result.refreshImageInfo) {
        services_.frame.RefreshImageInfo();
    }
    services_.router.UpdateActions();
}

bool BarrierTool::TabKey(bool reverse) {
    if (!BarrierMode() || barrier_.Adding() || !barrier_.TabKey(reverse)) {
        return false;
    }
    Repaint();
    return true;
}

void BarrierTool::EscapeKey() {
    if (barrier_.Adding()) {
        Apply(barrier_.Escape());
    }
}

bool BarrierTool::ArrowKey(int dx, int dy, bool ctrl, bool shift) {
    if (!BarrierMode() || barrier_.Adding() || barrier_.Count() == 0) {
        return false;
    }
    const Barrier::ReleaseResult result =
        barrier_.ArrowKey({Sign(dx), Sign(dy)}, {shift, ctrl}, ImageSize());
    Release(result);
    return result.repaint || result.area.has_value();
}

}  // namespace palvex::ui
