#include "selection/ui/selection_tool.h"

#include <QGuiApplication>
#include <QPainter>

#include "barrier/frame_rules.h"
#include "canvas/ui/vemmar_view.h"
#include "mainwindow/ui/my_status_bar.h"
#include "resources/string_table.h"
#include "selection/paste_pixels.h"
#include "selection/ui/bitmap_image.h"
#include "tools/ui/tool_pointers.h"

namespace palvex::ui {
namespace {

constexpr int kHandleBox = 8;

PointerShape HandlePointer(int handle) {
    switch (handle) {
        case 0:
        case 2:
            return PointerShape::SizeDiagonalDown;
        case 1:
        case 3:
            return PointerShape::SizeDiagonalUp;
        case 4:
        case 6:
            return PointerShape::SizeVertical;
        default:
            return PointerShape::SizeHorizontal;
    }
}

int SideGuide(int side, int selectedSide) {
    if (side == selectedSide) {
        return str::kGuideTabTurnsSide;
    }
    return side == kFrameSideBottom ? str::kGuideClickSide : str::kGuideShiftMovesSide;
}

}  // namespace

SelectionTool::SelectionTool(Services services, std::unique_ptr<ImageClipboard> clipboard,
                             std::unique_ptr<TransformAsker> asker)
    : services_(services), clipboard_(std::move(clipboard)), asker_(std::move(asker)) {}

SelectionTool::~SelectionTool() = default;

void SelectionTool::SetClipboard(std::unique_ptr<ImageClipboard> clipboard) {
    clipboard_ = std::move(clipboard);
}

void SelectionTool::SetAsker(std::unique_ptr<TransformAsker> asker) {
    asker_ = std::move(asker);
}

bool SelectionTool::HasImage() const {
    return !services_.model.image.WorkImage.IsNull();
}

Size SelectionTool::ImageSize() const {
    return {services_.model.image.width, services_.model.image.height};
}

CanvasMapping SelectionTool::Mapping() const {
    return services_.view.Mapping();
}

Point SelectionTool::ToImage(Point client) const {
    return Mapping().WindowToImage(client);
}

void SelectionTool::Repaint() {
    services_.view.ForgetPointerOverlay();
    services_.view.SetDirtyRect({});
    services_.view.RepaintNow();
}

// The position and size panes show the selection while there is one.
void SelectionTool::RefreshImageInfo() {
    const Size image = ImageSize();
    services_.statusBar.ShowImageInfo(
        state_.HasSelection() ? state_.rect : Rect{0, 0, image.width, image.height});
}

bool SelectionTool::InsideSelection(Point client) const {
    const Point q = ToImage(client);
    return state_.rect.Contains(q.x, q.y);
}

bool SelectionTool::SelectionTakesPress(Point client) {
    if (!state_.HasSelection() ||
        ToolModeFromStored(services_.model.settings.toolMode) != ToolMode::Select) {
        return false;
    }
    const CanvasMapping mapping = Mapping();
    if (const int handle = HandleAt(state_.rect, client, mapping); handle >= 0) {
        drag_ = Drag::Handle;
        handle_ = handle;
        dragged_ = state_.rect;
        return true;
    }
    const Point q = mapping.WindowToImage(client);
    if (const int side = SideAt(q, state_.rect); side >= 0) {
        state_.selectedSide = side;
        Repaint();
        return true;
    }
    if (state_.rect.Contains(q.x, q.y)) {
        const Rect window = ImageRectToWindow(state_.rect, mapping);
        drag_ = Drag::Move;
        grab_ = {client.x - window.left, client.y - window.top};
        dragged_ = state_.rect;
        services_.view.SetContextPoint(client);
        return true;
    }
    return false;  // the press settles: a floating picture is pasted there
}

void SelectionTool::CommitPaste() {
    if (!state_.pasteMode) {
        return;
    }
    Bitmap& image = services_.model.image.WorkImage;
    const Rect landed = state_.rect.Intersected(image.Bounds());
    // Nothing of the picture lands on the image: no step to undo.
    if (!landed.IsEmpty()) {
        if (!services_.view.PushImageSnapshot(landed)) {
            return;  // kept floating: nothing is lost
        }
        PastePicture(image, state_.pasteBuffer, state_.pasteSize, state_.rect);
    }
    state_.pasteMode = false;
    state_.rect = {};
    services_.view.ForgetPointerOverlay();
    emit services_.view.ImageEdited({});
    RefreshImageInfo();
}

bool SelectionTool::PutDownFloatingPicture() {
    if (!state_.pasteMode) {
        return true;
    }
    // A drag of the picture still under way would bring its rectangle back at the release.
    if (drag_ != Drag::None) {
        drag_ = Drag::None;
        band_.reset();
        services_.view.ErasePointerOverlay();
    }
    CommitPaste();
    return !state_.pasteMode;
}

bool SelectionTool::RemoveSelection() {
    if (!state_.HasSelection()) {
        return false;
    }
    state_.rect = {};
    state_.pasteMode = false;
    RefreshImageInfo();
    return true;
}

void SelectionTool::StartRubberBand(Point q) {
    band_.emplace(q);
    drag_ = Drag::Band;
}

void SelectionTool::DropForHistory() {
    drag_ = Drag::None;
    band_.reset();
    state_.rect = {};
    state_.pasteMode = false;
    // Only a floating picture reads the buffer, and every paste or copy fills it afresh: kept,
    // a copy of a whole large image would outlive the image by hundreds of megabytes.
    state_.pasteBuffer.Reset();
    state_.pasteSize = {};
    RefreshImageInfo();
}

void SelectionTool::SelectionHover(Point client) {
    const CanvasMapping mapping = Mapping();
    const Point q = mapping.WindowToImage(client);
    PointerShape shape = PointerShape::Arrow;
    int guide = 0;
    if (const int handle = HandleAt(state_.rect, client, mapping); handle >= 0) {
        shape = HandlePointer(handle);
    } else if (const int side = SideAt(q, state_.rect); side >= 0) {
        shape = PointerShape::OverPoint;
        guide = SideGuide(side, state_.selectedSide);
    } else if (state_.rect.Contains(q.x, q.y)) {
        shape = PointerShape::SizeAll;
        guide = str::kGuideMoveBySteps;
    }
    services_.view.viewport()->setCursor(CursorFor(shape));
    if (guide != 0) {
        services_.statusBar.GuideHint(guide);
    }
}

bool SelectionTool::ContinueDrag(Point client, Point q) {
    switch (drag_) {
        case Drag::None:
            return false;
        case Drag::Handle:
            dragged_ = DragRectHandle(state_.rect, handle_, q, ImageSize());
            PreviewOutline(dragged_);
            return true;
        case Drag::Move: {
            dragged_ = MovedSelection(state_.rect, client, grab_, Mapping(), state_.pasteMode);
            const bool ctrl = QGuiApplication::keyboardModifiers().testFlag(Qt::ControlModifier);
            if (state_.pasteMode && ctrl) {
                PreviewPicture(dragged_);
            } else {
                PreviewOutline(dragged_);
            }
            if (!ctrl) {
                services_.statusBar.GuideHint(str::kGuideCtrlMovesImageOnly);
            }
            return true;
        }
        case Drag::Band:
            if (band_ && band_->Track(q, ImageSize(), Mapping())) {
                PreviewOutline(band_->Band());
            }
            return true;
    }
    return false;
}

bool SelectionTool::EndDrag(Point /*client*/) {
    const Drag drag = drag_;
    drag_ = Drag::None;
    services_.view.ErasePointerOverlay();
    switch (drag) {
        case Drag::None:
            return false;
        case Drag::Handle:
            state_.rect = dragged_;
            ResampleTo({dragged_.Width(), dragged_.Height()});
            break;
        case Drag::Move:
            if (dragged_.IsEmpty()) {
                return true;
            }
            state_.rect = dragged_;
            break;
        case Drag::Band: {
            const std::optional<RubberBand> band = std::move(band_);
            band_.reset();
            if (!band || !band->HasCorner()) {
                return true;
            }
            state_.rect = band->Result();
            if (state_.HasSelection()) {
                services_.statusBar.GuideHint(str::kGuideDoubleClickCopies);
            }
            break;
        }
    }
    Repaint();
    RefreshImageInfo();
    return true;
}

void SelectionTool::ResampleTo(Size size) {
    // Only a floating picture follows; the last copy is not stretched.
    if (!state_.pasteMode || size == state_.pasteSize) {
        return;
    }
    if (!ResamplePicture(state_.pasteBuffer, state_.pasteSize, size)) {
        services_.prompter.Error(str::kMemoryAllocationFailed);
    }
}

bool SelectionTool::TabKey(bool reverse) {
    if (!state_.HasSelection()) {
        return false;
    }
    state_.selectedSide = NextSide(state_.selectedSide, reverse);
    Repaint();
    RefreshImageInfo();
    return true;
}

bool SelectionTool::ArrowKey(int dx, int dy, bool /*ctrl*/, bool shift) {
    if (!state_.HasSelection()) {
        return false;
    }
    if (shift) {
        state_.rect = MoveRectSide(state_.rect, state_.selectedSide, {dx, dy}, ImageSize());
        ResampleTo({state_.rect.Width(), state_.rect.Height()});
    } else {
        state_.rect = SteppedSelection(state_.rect, dx, dy, services_.model.settings.zoomFactor,
                                       state_.pasteMode);
    }
    Repaint();
    RefreshImageInfo();
    return true;
}

void SelectionTool::DrawOutline(QPainter& painter, const Rect& window, bool solid,
                                int thickSide) const {
    const Colour c = services_.model.settings.selectionLineColour;
    const QColor colour(RedOf(c), GreenOf(c), BlueOf(c));
    const int right = window.right - 1;
    const int bottom = window.bottom - 1;
    const QLine sides[4] = {QLine(window.left, window.top, window.left, bottom),
                            QLine(window.left, window.top, right, window.top),
                            QLine(right, window.top, right, bottom),
                            QLine(window.left, bottom, right, bottom)};
    for (int side = 0; side < 4; ++side) {
        QPen pen(colour, side == thickSide ? 3 : 1, solid ? Qt::SolidLine : Qt::DotLine);
        painter.setPen(pen);
        painter.drawLine(sides[side]);
    }
}

void SelectionTool::PaintOnFrame(QPainter& painter, const Rect& clip) {
    if (!state_.HasSelection()) {
        return;
    }
    const CanvasMapping mapping = Mapping();
    const Rect window = ImageRectToWindow(state_.rect, mapping);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    if (state_.pasteMode) {
        // Only what the frame shows is stretched, however large the picture's rectangle.
        Bitmap part;
        if (StretchPart(state_.pasteBuffer, state_.pasteSize, window, clip, part)) {
            const Rect shown = clip.Intersected(window);
            painter.drawImage(shown.left, shown.top, WrapBitmap(part));
        }
    }
    DrawOutline(painter, window, state_.pasteMode, state_.selectedSide);
    const Colour c = services_.model.settings.selectionLineColour;
    const QColor colour(RedOf(c), GreenOf(c), BlueOf(c));
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    const auto handles = HandlePoints(state_.rect);
    for (int i = 0; i < 8; ++i) {
        const Point h = mapping.ImageToWindow(handles[i]);
        const QRect box(h.x - kHandleBox / 2, h.y - kHandleBox / 2, kHandleBox, kHandleBox);
        if (i < 4) {
            painter.drawRect(box);
        } else {
            painter.drawEllipse(box);
        }
    }
    painter.restore();
}

void SelectionTool::PreviewOutline(const Rect& image) {
    if (image.IsEmpty()) {
        return;
    }
    const Rect window = ImageRectToWindow(image, Mapping());
    const Rect area{window.left - 2, window.top - 2, window.right + 2, window.bottom + 2};
    services_.view.DrawPointerOverlay(
        area, [this, window](QPainter& painter) { DrawOutline(painter, window, true, -1); });
}

void SelectionTool::PreviewPicture(const Rect& image) {
    const Rect window = ImageRectToWindow(image, Mapping());
    const QSize client = services_.view.viewport()->size();
    auto part = std::make_shared<Bitmap>();
    if (!StretchPart(state_.pasteBuffer, state_.pasteSize, window,
                     {0, 0, client.width(), client.height()}, *part)) {
        services_.view.ErasePointerOverlay();
        return;
    }
    const Rect shown = window.Intersected({0, 0, client.width(), client.height()});
    services_.view.DrawPointerOverlay(shown, [part, shown](QPainter& painter) {
        painter.drawImage(shown.left, shown.top, WrapBitmap(*part));
    });
}

}  // namespace palvex::ui
