#include "tools/ui/canvas_input.h"

#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <map>

#include "app/ui/qt_colour.h"
#include "app/ui/qt_text.h"
#include "canvas/canvas_mapping.h"
#include "canvas/ui/overlay_font.h"
#include "canvas/ui/vemmar_view.h"
#include "mainwindow/ui/command_router.h"
#include "mainwindow/ui/my_status_bar.h"
#include "resources/command_ids.h"
#include "resources/command_table.h"
#include "resources/string_table.h"
#include "tools/colour_tools.h"
#include "tools/ui/tool_pointers.h"

namespace palvex::ui {
namespace {

Point ClientPoint(const QPointF& position) {
    const QPoint p = position.toPoint();
    return {p.x(), p.y()};
}

KeyState KeysOf(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers) {
    return {.left = buttons.testFlag(Qt::LeftButton),
            .right = buttons.testFlag(Qt::RightButton),
            .middle = buttons.testFlag(Qt::MiddleButton),
            .ctrl = modifiers.testFlag(Qt::ControlModifier),
            .shift = modifiers.testFlag(Qt::ShiftModifier)};
}

std::string_view PopupName(ContextPopup popup) {
    switch (popup) {
        case ContextPopup::View:
            return "VIEW";
        case ContextPopup::Selection:
            return "SEL";
        case ContextPopup::Paste:
            return "PASTE";
        case ContextPopup::BarrierInside:
            return "BARIIN";
        case ContextPopup::BarrierPoint:
            return "BARIPOS";
        case ContextPopup::BarrierSide:
            return "BARISIDE";
        case ContextPopup::BarrierOutside:
            return "BARIOUT";
        case ContextPopup::None:
            break;
    }
    return {};
}

constexpr int kProbeReach = 60;

}  // namespace

CanvasInput::CanvasInput(Services services, QObject* parent)
    : QObject(parent), services_(std::move(services)) {
    execMenu = [](QMenu& menu, const QPoint& global) { menu.exec(global); };
}

CanvasInput::~CanvasInput() = default;

bool CanvasInput::HasImage() const {
    return !services_.model.image.WorkImage.IsNull();
}

bool CanvasInput::OnImage(Point q) const {
    const ImageState& image = services_.model.image;
    return q.x >= 0 && q.y >= 0 && q.x < image.width && q.y < image.height;
}

Point CanvasInput::ToImage(Point client) const {
    return services_.view.Mapping().WindowToImage(client);
}

void CanvasInput::ShowPointer(PointerShape shape) {
    services_.view.viewport()->setCursor(CursorFor(shape));
}

void CanvasInput::EmptyPointerPanes() {
    CMyStatusBar& bar = services_.statusBar;
    for (const int pane : {cmd::ID_PANE_ANGLE, cmd::ID_PANE_COLOR, cmd::ID_PANE_CURSOR}) {
        if (!bar.PaneText(pane).isEmpty()) {
            bar.SetPaneText(pane, {});
        }
    }
}

// The pointer has left what the tools work on. Qt grabs the mouse only while a button is held,
// so the hover capture is not needed to see this: the leave event stands in for it.
void CanvasInput::LeavePointer() {
    // Rings left running would come back at the next tick, away from anything under the pointer.
    hooks_.StopAnimation();
    services_.view.ErasePointerOverlay();
    ShowPointer(PointerShape::Arrow);
}

void CanvasInput::Leave() {
    if (!HasImage()) {
        return;
    }
    EmptyPointerPanes();
    const ToolMode mode = ToolModeFromStored(services_.model.settings.toolMode);
    if (IsPenMode(mode) && hooks_.PenStrokeInProgress()) {
        return;
    }
    LeavePointer();
}

void CanvasInput::MouseMove(QMouseEvent* event) {
    if (!HasImage()) {
        return;
    }
    const AppSettings& settings = services_.model.settings;
    const ToolMode mode = ToolModeFromStored(settings.toolMode);
    const Point p = ClientPoint(event->position());
    const Point q = ToImage(p);
    const bool onImage = OnImage(q);
    if (!onImage) {
        EmptyPointerPanes();
    }
    bool leaveTest = true;
    if (IsPenMode(mode)) {
        leaveTest = !hooks_.PenStrokeInProgress();
    } else if (mode == ToolMode::Select) {
        leaveTest = !hooks_.MovingSelection();
    } else if (mode == ToolMode::Barrier) {
        // Barrier drags clamp the pointer to the image, so a band can reach its edge.
        leaveTest = !hooks_.DraggingBarrier();
    }
    const QRect client = services_.view.viewport()->rect();
    if (leaveTest && (!client.contains(p.x, p.y) || !onImage)) {
        LeavePointer();
        return;
    }
    if (hooks_.NavigatorUnder(p)) {
        LeavePointer();
        return;
    }
    CMyStatusBar& bar = services_.statusBar;
    if (settings.showGuide == 1) {
        if (const int hint = ColumnHint(q.x)) {
            bar.GuideHint(hint);
        }
    }
    if (onImage) {
        const Colour c = services_.model.image.WorkImage.ReadPixel(q.x, q.y);
        bar.SetPaneText(cmd::ID_PANE_COLOR, ToQString(ColourPaneText(c)));
        bar.SetPaneText(cmd::ID_PANE_CURSOR, ToQString(CursorPaneText(q)));
    }
    if (hooks_.ContinueDrag(p, q)) {
        return;
    }
    switch (mode) {
        case ToolMode::Select:
            if (hooks_.HasSelection()) {
                hooks_.SelectionHover(p);
            }
            break;
        case ToolMode::Pen:
        case ToolMode::FillBack:
            ShowPointer(PointerForMode(mode));
            if (settings.showGuide == 1) {
                // Evaluated after the column hint, so a range hint wins where both apply.
                if (const int hint = PenColumnHint(p.x)) {
                    bar.RangeHint(hint);
                }
            }
            hooks_.PenMove(p, q);
            break;
        case ToolMode::FloodFill:
        case ToolMode::Eyedropper:
            ShowPointer(PointerForMode(mode));
            DrawColourProbe(p);
            break;
        case ToolMode::Barrier:
            hooks_.BarrierHover(p);
            break;
    }
}

void CanvasInput::MousePress(QMouseEvent* event) {
    if (!HasImage()) {
        return;
    }
    const Point p = ClientPoint(event->position());
    if (event->button() == Qt::LeftButton) {
        LeftPress(p, ToImage(p));
    } else if (event->button() == Qt::RightButton) {
        hooks_.StopAnimation();
        rightDragAnchor_ = p;
        if (event->modifiers().testFlag(Qt::ControlModifier)) {
            services_.router.Dispatch(cmd::ID_FLAT_HV);
        }
    }
}

void CanvasInput::LeftPress(Point p, Point q) {
    hooks_.StopAnimation();
    if (hooks_.HasSelection() && hooks_.SelectionTakesPress(p)) {
        return;
    }
    const ImageState& image = services_.model.image;
    const AppSettings& settings = services_.model.settings;
    // Left of or above the image cannot be reached; right of or below it only settles.
    if (q.x >= image.width || q.y >= image.height) {
        SettlePress();
        return;
    }
    if (hooks_.AddingBarrierPoints()) {
        hooks_.BarrierPress(p, q);
        return;
    }
    const ToolMode mode = ToolModeFromStored(settings.toolMode);
    const bool wholeImage = settings.wholeImage == 1;
    switch (mode) {
        case ToolMode::Pen:
        case ToolMode::FillBack:
            if (!wholeImage) {
                hooks_.StartPenStroke(p, q);
                break;
            }
            if (mode == ToolMode::Pen && settings.allColours == 1) {
                services_.prompter.Information(str::kWholeRangeAllColours);
                return;
            }
            hooks_.ApplyPenToWholeImage(q);  // its snapshot first, then the pixels
            services_.view.ForgetPointerOverlay();
            return;
        case ToolMode::FloodFill:
            FloodFill(q);
            break;
        case ToolMode::Eyedropper:
            PickColour(q);
            break;
        case ToolMode::Barrier:
            if (!hooks_.BarrierPress(p, q)) {
                return;
            }
            break;
        case ToolMode::Select:
            hooks_.StartRubberBand(q);
            break;
    }
    SettlePress();
}

// A finished press, or any press beside the image, settles the selection.
void CanvasInput::SettlePress() {
    if (hooks_.PasteFloating()) {
        hooks_.CommitPaste();
    } else {
        const bool removed = hooks_.RemoveSelection();
        if (ToolModeFromStored(services_.model.settings.toolMode) == ToolMode::Barrier) {
            hooks_.DeselectBarrierPoints();
        }
        if (removed) {
            services_.view.SetDirtyRect({});
            services_.view.RepaintNow();
        }
    }
    services_.statusBar.SetGuide({});
}

void CanvasInput::MouseRelease(QMouseEvent* event) {
    if (!HasImage()) {
        return;
    }
    const Point p = ClientPoint(event->position());
    if (event->button() == Qt::LeftButton) {
        if (!hooks_.EndDrag(p) && hooks_.PenStrokeInProgress()) {
            hooks_.EndPenStroke(p, ToImage(p));
        }
        return;
    }
    if (event->button() != Qt::RightButton) {
        return;
    }
    rightDragAnchor_ = {-1, -1};
    const ToolMode mode = ToolModeFromStored(services_.model.settings.toolMode);
    if (IsPenMode(mode)) {
        return;  // the right button shapes the pen's range
    }
    OpenContextMenu(p);
}

void CanvasInput::OpenContextMenu(Point p) {
    CVemmarView& view = services_.view;
    const ToolMode mode = ToolModeFromStored(services_.model.settings.toolMode);
    view.ErasePointerOverlay();
    view.SetContextPoint(p);
    if (hooks_.AddingBarrierPoints()) {
        return;  // placing offers no edit menu: its items would act on the open chain
    }
    ContextMenuContext context{mode, hooks_.InsideSelection(p), hooks_.PasteFloating(),
                               hooks_.HasBarrier(), hooks_.HitBarrier(p)};
    const ContextPopup popup = ChooseContextPopup(context);
    if (popup == ContextPopup::None) {
        return;
    }
    if (mode == ToolMode::Barrier && context.hasBarrier) {
        hooks_.PrepareBarrierMenu(popup, p);
        view.SetDirtyRect({});
        view.RepaintNow();
    }
    std::unique_ptr<QMenu> menu = BuildContextMenu(popup);
    const QPoint global = view.viewport()->mapToGlobal(QPoint(p.x, p.y));
    execMenu(*menu, QPoint(global.x() - menu->sizeHint().width() / 2, global.y()));
}

std::unique_ptr<QMenu> CanvasInput::BuildContextMenu(ContextPopup popup) {
    auto menu = std::make_unique<QMenu>();
    menu->setObjectName(ToQString(PopupName(popup)));
    const std::string prefix = std::string(PopupName(popup)) + "/";
    std::map<std::string_view, QMenu*> submenus;
    CommandRouter& router = services_.router;
    for (const CommandInfo& row : CommandTable()) {
        if (row.place != CommandPlace::None) {
            continue;
        }
        QMenu* target = nullptr;
        if (row.panel.source == PopupName(popup)) {
            target = menu.get();
        } else if (row.panel.source.starts_with(prefix)) {
            QMenu*& sub = submenus[row.panel.source];
            if (sub == nullptr) {
                sub = menu->addMenu(ToQString(PopupSubmenuLabel(row)));
            }
            target = sub;
        } else {
            continue;
        }
        const int id = row.id;
        QAction* action = target->addAction(ToQString(row.label));
        action->setData(id);
        action->setEnabled(router.StateOf(id).enabled);
        connect(action, &QAction::triggered, this, [&router, id] { router.Dispatch(id); });
    }
    for (auto& [name, sub] : submenus) {
        bool any = false;
        for (const QAction* action : sub->actions()) {
            any = any || action->isEnabled();
        }
        sub->setEnabled(any);
    }
    return menu;
}

void CanvasInput::MouseDoubleClick(QMouseEvent* event) {
    if (!HasImage()) {
        return;
    }
    const Point p = ClientPoint(event->position());
    const ToolMode mode = ToolModeFromStored(services_.model.settings.toolMode);
    if (event->button() == Qt::RightButton) {
        if (IsPenMode(mode) && services_.model.settings.wholeImage != 1) {
            hooks_.NextPenShape(p);
        }
        return;
    }
    if (event->button() != Qt::LeftButton) {
        return;
    }
    const DoubleClickAction action =
        ChooseDoubleClick({mode, hooks_.AddingBarrierPoints(), OnImage(ToImage(p)),
                           hooks_.InsideSelection(p), services_.model.settings.zoomFactor});
    switch (action) {
        case DoubleClickAction::Nothing:
            return;
        case DoubleClickAction::CopySelection:
            services_.router.Dispatch(cmd::ID_EDIT_COPY);
            return;
        case DoubleClickAction::ZoomHere:
        case DoubleClickAction::Zoom100Here:
            services_.view.SetContextPoint(p);
            services_.view.OnCommand(action == DoubleClickAction::ZoomHere ? cmd::ID_ZOOM_HERE
                                                                           : cmd::ID_ZOOM_100_HERE);
            return;
    }
}

bool CanvasInput::Wheel(QWheelEvent* event) {
    CVemmarView& view = services_.view;
    view.ForgetPointerOverlay();
    view.SetDirtyRect({});
    view.RepaintNow();
    const AppSettings& settings = services_.model.settings;
    const ToolMode mode = ToolModeFromStored(settings.toolMode);
    const Point p = ClientPoint(event->position());
    const KeyState keys = KeysOf(event->buttons(), event->modifiers());
    const int delta = event->angleDelta().y();
    const bool hasBarrier = mode == ToolMode::Barrier && hooks_.HasBarrier();
    const WheelContext context{mode, settings.wholeImage == 1, hasBarrier,
                               hasBarrier && hooks_.HitBarrier(p) == BarrierHit::Inside, keys};
    switch (RouteWheel(context)) {
        case WheelRoute::TurnRange:
            hooks_.TurnRange(delta, keys.ctrl);
            return true;
        case WheelRoute::ResizeBarrier: {
            const int step = keys == KeyState{.ctrl = true} ? 1 : 10;
            // A forward turn shrinks.
            if (hooks_.ResizeBarrier(delta > 0 ? -step : step)) {
                return true;
            }
            break;
        }
        case WheelRoute::Zoom:
            if (const auto position = WheelZoomPosition(view.ZoomSliderPosition(), delta)) {
                view.SetZoom(ZoomForSliderPosition(*position));
                view.SetZoomSliderPosition(*position);
            }
            return true;
        case WheelRoute::Default:
            break;
    }
    view.ErasePointerOverlay();
    return false;
}

void CanvasInput::AfterDefaultWheel() {
    const AppSettings& settings = services_.model.settings;
    if (IsPenMode(ToolModeFromStored(settings.toolMode)) && settings.wholeImage != 1) {
        const QPoint p = services_.view.viewport()->mapFromGlobal(QCursor::pos());
        hooks_.RedrawRangeOutline({p.x(), p.y()});
    }
}

bool CanvasInput::KeyPress(QKeyEvent* event) {
    const bool ctrl = event->modifiers().testFlag(Qt::ControlModifier);
    const bool shift = event->modifiers().testFlag(Qt::ShiftModifier);
    switch (event->key()) {
        case Qt::Key_Tab:
            hooks_.TabKey(shift);
            return true;
        case Qt::Key_Backtab:
            hooks_.TabKey(true);
            return true;
        case Qt::Key_Escape:
            hooks_.EscapeKey();
            return true;
        case Qt::Key_Left:
            hooks_.ArrowKey(ctrl ? -1 : -10, 0, ctrl, shift);
            return true;
        case Qt::Key_Right:
            hooks_.ArrowKey(ctrl ? 1 : 10, 0, ctrl, shift);
            return true;
        case Qt::Key_Up:
            hooks_.ArrowKey(0, ctrl ? -1 : -10, ctrl, shift);
            return true;
        case Qt::Key_Down:
            hooks_.ArrowKey(0, ctrl ? 1 : 10, ctrl, shift);
            return true;
        default:
            return false;
    }
}

void CanvasInput::EndForHistory() {
    hooks_.DropForHistory();
    rightDragAnchor_ = {-1, -1};
}

void CanvasInput::FloodFill(Point q) {
    ImageState& image = services_.model.image;
    CVemmarView& view = services_.view;
    const Colour colour = services_.model.settings.drawColour;
    FillRecord record;
    if (view.RecordsFills()) {
        // What the fill changes is its undo step, gathered as it goes: no copy of the image.
        FloodFillAt(image.WorkImage, q, colour, &record);
    }
    if (view.RecordsFills() && !record.Lost()) {
        if (!view.PushFill(std::move(record))) {
            return;
        }
    } else {
        // No record (a history that takes none, or a fill too ragged or large to record, which
        // has put the image back): a snapshot first, as for any other edit. A fill whose
        // snapshot could not be stored is not made: it could never be undone. The history has
        // said why.
        if (!view.PushImageSnapshot({})) {
            return;
        }
        FloodFillAt(image.WorkImage, q, colour);
    }
    view.ForgetPointerOverlay();
    // Even a fill that changed nothing counts as an edit, as its undo step does.
    emit view.ImageEdited({});
}

void CanvasInput::PickColour(Point q) {
    if (const std::optional<Colour> colour =
            palvex::PickColour(services_.model.image.WorkImage, q)) {
        services_.setDrawColour(*colour);
    }
}

void CanvasInput::DrawColourProbe(Point p) {
    const Point q = ToImage(p);
    const Colour c = services_.model.image.WorkImage.ReadPixel(q.x, q.y);
    if (c == kNoColour) {
        return;
    }
    const bool showRgb = services_.model.settings.showRgb == 1;
    const Rect area{p.x - kProbeReach, p.y - kProbeReach, p.x + kProbeReach, p.y + kProbeReach};
    services_.view.DrawPointerOverlay(area, [p, c, showRgb](QPainter& painter) {
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setPen(ToQColor(c));
        painter.setBrush(ToQColor(c));
        painter.drawEllipse(QRect(QPoint(p.x + 9, p.y + 10), QPoint(p.x + 22, p.y + 23)));
        if (!showRgb) {
            return;
        }
        const QString text = ToQString(ProbeText(c));
        painter.setFont(MakeOverlayFont());
        const QFontMetrics metrics = painter.fontMetrics();
        const int tw = metrics.horizontalAdvance(text);
        const int th = metrics.height();
        const int left = p.x - tw / 2;
        const int top = p.y - 5 - th;
        painter.fillRect(QRect(QPoint(left - 2, top), QPoint(left + tw + 1, top + th - 1)),
                         Qt::white);
        painter.setPen(QColor(255, 0, 0));
        painter.drawText(QRect(left, top, tw, th), Qt::AlignLeft | Qt::AlignTop, text);
    });
}

}  // namespace palvex::ui
