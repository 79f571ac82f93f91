#include "tools/ui/pen_tool.h"

#include <QCursor>
#include <QGuiApplication>
#include <optional>

#include "app/ui/qt_text.h"
#include "canvas/image_layer.h"
#include "canvas/ui/vemmar_view.h"
#include "image/raster/key_run_record.h"
#include "mainwindow/ui/my_ribbon_bar.h"
#include "mainwindow/ui/my_status_bar.h"
#include "resources/command_ids.h"
#include "resources/texts.h"
#include "tools/ui/canvas_input.h"
#include "tools/ui/range_outline.h"

namespace palvex::ui {
namespace {

// What the swatch shows for a key-coloured pixel: the colour drawn behind the image, or the
// neutral colour where a tile or nothing is drawn there.
Colour BackgroundSwatch(std::int32_t backgroundMode) {
    return backgroundMode >= 0 ? static_cast<Colour>(backgroundMode) : kNeutralColour;
}

}  // namespace

PenTool::PenTool(Services services) : services_(services) {}

PenTool::~PenTool() = default;

ProcessingRange PenTool::Range() const {
    ProcessingRange range = ProcessingRangeOf(services_.model.settings);
    range.shape = std::clamp(range.shape, 0, 2);
    range.size = ClampRangeSize(range.size);
    range.flatness = ClampFlatness(range.flatness);
    range.flatDirection = range.flatDirection == 1 ? 1 : 0;
    return range;
}

void PenTool::StoreRange(const ProcessingRange& range) {
    StoreProcessingRange(services_.model.settings, range);
}

TargetColours PenTool::Targets() const {
    TargetColours targets = TargetColoursOf(services_.model.settings);
    targets.tolerance = ClampTolerance(targets.tolerance);
    return targets;
}

ToolMode PenTool::Mode() const {
    return ToolModeFromStored(services_.model.settings.toolMode);
}

PenSettings PenTool::Settings() const {
    return {Mode() == ToolMode::FillBack ? PenMode::FillBack : PenMode::Pen,
            services_.model.settings.drawColour, services_.model.image.TransparentColor, Targets()};
}

void PenTool::DrawRangeOutline(Point client) {
    const Point q = services_.view.Mapping().WindowToImage(client);
    const Colour under = services_.model.image.WorkImage.ReadPixel(q.x, q.y);
    if (!Range().wholeImage) {
        outline_ = MakeRangeOutline(Range(), client);
    }
    DrawFeedback(client, under);
}

void PenTool::DrawFeedback(Point client, Colour under) {
    const AppSettings& settings = services_.model.settings;
    const ProcessingRange range = Range();
    const bool fillBack = Mode() == ToolMode::FillBack;
    RangeOutlineLook look;
    look.colour = under;
    look.shapeShown = !range.wholeImage;
    if (!fillBack) {
        look.swatch = under == services_.model.image.TransparentColor
                          ? BackgroundSwatch(settings.backgroundMode)
                          : under;
    }
    look.readout = settings.showRgb == 1 && !fillBack;
    // The whole-image range draws no shape; its unrotated box only sets the area.
    RangeOutline boxOnly;
    if (range.wholeImage) {
        boxOnly.geometry = ComputeRangeShape(range, client);
    }
    const RangeOutline& shown = range.wholeImage ? boxOnly : outline_;
    services_.view.DrawPointerOverlay(RangeOutlineArea(shown, client, look),
                                      RangeOutlinePainter(shown, client, look));
}

void PenTool::RedrawRangeOutline(Point client) {
    const Point q = services_.view.Mapping().WindowToImage(client);
    const ImageState& image = services_.model.image;
    const bool onImage = q.x >= 0 && q.y >= 0 && q.x < image.width && q.y < image.height;
    if (!image.WorkImage.IsNull() && onImage &&
        services_.view.viewport()->rect().contains(client.x, client.y)) {
        DrawRangeOutline(client);
    }
}

void PenTool::RedrawAtPointer() {
    if (!IsPenMode(Mode()) || Range().wholeImage) {
        return;
    }
    const QPoint p = services_.view.viewport()->mapFromGlobal(QCursor::pos());
    RedrawRangeOutline({p.x(), p.y()});
}

void PenTool::RightDrag(Point client) {
    CanvasInput& input = services_.input;
    if (input.RightDragAnchor() == Point{-1, -1}) {
        return;
    }
    const DragStep step = RightDragStep(Range(), input.RightDragAnchor(), client);
    if (!step.anchorMoved) {
        return;
    }
    StoreRange(step.range);
    services_.ribbon.SetEditText(cmd::ID_HANI_SPIN, QString::number(step.range.size));
    services_.ribbon.SetEditText(cmd::ID_FLAT_SPIN, QString::number(step.range.flatness));
    input.SetRightDragAnchor(client);
}

void PenTool::PenMove(Point client, Point q) {
    const bool wholeImage = Range().wholeImage;
    if (!wholeImage) {
        RightDrag(client);
    }
    // The swatch and the readout show the pixel as it was before this move's application.
    Colour under = services_.model.image.WorkImage.ReadPixel(q.x, q.y);
    if (!wholeImage) {
        outline_ = MakeRangeOutline(Range(), client);
    }
    if (stroke_ != nullptr) {
        Apply(q);
    }
    // The cursor stop moves the pointer for the next move; this move's application above kept
    // its own point, the outline shows where the pointer went.
    const bool ctrl = (QGuiApplication::keyboardModifiers() & Qt::ControlModifier) != 0;
    if (const auto moved = services_.input.CursorStop().Apply(
            services_.model, services_.view, services_.statusBar, client, q, ctrl)) {
        client = moved->client;
        under = services_.model.image.WorkImage.ReadPixel(moved->q.x, moved->q.y);
        if (!wholeImage) {
            outline_ = MakeRangeOutline(Range(), client);
        }
    }
    // Drawn after the application's repaint, so that the outline stays up during a stroke.
    DrawFeedback(client, under);
}

void PenTool::StartPenStroke(Point /*client*/, Point /*q*/) {
    // Nothing is copied yet: the stroke keeps each block of the image just before it changes.
    stroke_ = std::make_unique<PenStroke>(services_.model.image.WorkImage);
    const auto& modified = services_.view.documentModified;
    modifiedBeforeStroke_ = !modified || modified();
}

void PenTool::Apply(Point q) {
    ImageState& image = services_.model.image;
    const PenApplied applied = ApplyPen(image.WorkImage, q, Range(), outline_,
                                        services_.view.Mapping(), Settings(), stroke_.get());
    const Rect changed =
        applied.reported.United(applied.visited).Intersected({0, 0, image.width, image.height});
    if (changed.IsEmpty()) {
        return;  // nothing of the image was in the range
    }
    services_.view.ErasePointerOverlay();
    // Only this application's pixels are repainted: the earlier ones are on the screen already.
    emit services_.view.ImageEdited(changed);
}

void PenTool::EndPenStroke(Point client, Point q) {
    if (stroke_ == nullptr) {
        return;
    }
    if (!stroke_->Processed()) {
        // A click without a move: the range around the release point, once.
        if (!Range().wholeImage) {
            outline_ = MakeRangeOutline(Range(), client);
        }
        Apply(q);
    }
    services_.view.ErasePointerOverlay();
    PushStrokeStep(q);
    stroke_.reset();
}

void PenTool::FinishStrokeForHistory() {
    if (stroke_ != nullptr && stroke_->Processed()) {
        PushStrokeStep({0, 0});
    }
    stroke_.reset();
}

// The history stores the pixels before the stroke: the kept blocks are exchanged with the image
// for the push and exchanged back after it.
void PenTool::PushStrokeStep(Point q) {
    if (!stroke_->HasBefore()) {
        // The before-image could not be kept: the stroke stays without an undo step.
        services_.view.NoteUnrecordedChange();
        return;
    }
    const ImageState& image = services_.model.image;
    const Rect whole{0, 0, image.width, image.height};
    Rect rect = stroke_->ChangedRect();
    if (rect.IsEmpty()) {
        // Nothing was changed, yet the stroke is a step: one unchanged pixel stands for it
        // (an empty rectangle would store the whole image).
        rect = Rect{q.x, q.y, q.x + 1, q.y + 1}.Intersected(whole);
        if (rect.IsEmpty()) {
            rect = Rect{0, 0, 1, 1};
        }
    }
    Bitmap& work = services_.model.image.WorkImage;
    if (!stroke_->SwapBefore(work)) {
        services_.view.NoteUnrecordedChange();
        return;
    }
    if (services_.view.PushImageSnapshot(rect)) {
        stroke_->SwapBefore(work);
        return;
    }
    // A stroke that cannot be undone is not kept (the history has said why): the image stays
    // as it was before the stroke.
    const Rect changed = stroke_->ChangedRect();
    if (!changed.IsEmpty()) {
        services_.view.SetDirtyRect(changed);
        services_.view.RepaintNow();
    }
    emit services_.view.ImageEditTakenBack(changed, modifiedBeforeStroke_);
}

void PenTool::ApplyPenToWholeImage(Point q) {
    CVemmarView& view = services_.view;
    const PenSettings settings = Settings();
    Bitmap& work = services_.model.image.WorkImage;
    // The fill-back changes only key pixels and keeps their fourth byte: where the key was is
    // its whole undo step, a few bytes a row instead of a copy of the image, which the pass
    // takes as it reads the image. Without the memory for it, the step is the copy.
    std::optional<KeyBits> keys;
    if (settings.mode == PenMode::FillBack && view.RecordsFillBacks() && !work.IsNull()) {
        keys.emplace();
        if (!keys->Reset(work.Width(), work.Height())) {
            keys.reset();
        }
    }
    if (!keys && !view.PushImageSnapshot({})) {
        return;
    }
    CMyStatusBar& bar = services_.statusBar;
    int shownRange = -1;
    const PassProgress progress = [&bar, &shownRange](int position, int range) {
        if (range != shownRange) {
            bar.SetProgressRange(range);
            shownRange = range;
        }
        bar.SetProgressPosition(position);
    };
    ApplyPenWholeImage(work, q, settings, progress, keys ? &*keys : nullptr);
    if (keys) {
        view.PushFillBack(KeyRunRecord(std::move(*keys), settings.key));  // always taken
    }
    emit view.ImageEdited({});
}

void PenTool::TurnRange(int delta, bool fine) {
    if (delta == 0) {
        return;  // a sideways turn has no direction here
    }
    ProcessingRange range = Range();
    range.angle = WheelAngleStep(range.angle, delta > 0, fine);
    StoreRange(range);
    RedrawAtPointer();
    services_.statusBar.SetPaneText(
        cmd::ID_PANE_ANGLE, ToQString(texts::kAngleFormat).arg(AnglePaneDegrees(range.angle)));
}

void PenTool::NextPenShape(Point client) {
    ProcessingRange range = Range();
    range.shape = (range.shape + 1) % 3;
    StoreRange(range);
    RedrawRangeOutline(client);
}

}  // namespace palvex::ui
