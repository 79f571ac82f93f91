// The selection's and the clipboard's commands.

#include <QApplication>
#include <QTimer>

#include "app/ui/qt_text.h"
#include "canvas/ui/vemmar_view.h"
#include "mainwindow/ui/my_status_bar.h"
#include "resources/command_ids.h"
#include "resources/string_table.h"
#include "resources/texts.h"
#include "selection/paste_pixels.h"
#include "selection/ui/bitmap_image.h"
#include "selection/ui/selection_tool.h"

namespace palvex::ui {
namespace {

constexpr int kCopyWaitMs = 300;

// A clipboard picture as an opaque bitmap: the clipboard's own format has no alpha, so
// whatever alpha a picture brings is dropped, not blended.
bool ToBitmap(const QImage& picture, Bitmap& out) {
    const QImage argb = picture.convertToFormat(QImage::Format_ARGB32);
    if (argb.isNull() || !out.Create(argb.width(), argb.height())) {
        return false;
    }
    for (int y = 0; y < argb.height(); ++y) {
        const auto* from = reinterpret_cast<const Pixel*>(argb.constScanLine(y));
        Pixel* to = out.Row(y);
        for (int x = 0; x < argb.width(); ++x) {
            to[x] = from[x] | kOpaqueAlpha;
        }
    }
    return true;
}

}  // namespace

bool SelectionTool::OnCommand(int id) {
    switch (id) {
        case cmd::ID_EDIT_COPY:
            CopySelection();
            return true;
        case cmd::ID_EDIT_CUT:
            CutSelection();
            return true;
        case cmd::ID_EDIT_PASTE:
            PasteFromClipboard(std::nullopt);
            return true;
        case cmd::ID_PASTE_HERE:
            PasteFromClipboard(services_.view.ContextPoint());
            return true;
        case cmd::ID_EDIT_SELECT_ALL:
            SelectAll();
            return true;
        case cmd::ID_EDIT_CLEAR:
            // Without a selection the barrier may take it.
            if (!state_.HasSelection()) {
                return false;
            }
            ClearSelection();
            return true;
        case cmd::ID_TRIM:
            TrimToSelection();
            return true;
        case cmd::ID_SEL_FILL_KEY:
            FillSelectionWithKey();
            return true;
        case cmd::ID_PASTE_FIRST_SIZE:
            RestorePasteSize();
            return true;
        case cmd::ID_SEL_CENTER:
            CentreOnSelection();
            return true;
        default:
            break;
    }
    if (IsTransformCommand(id)) {
        Transform(id);
        return true;
    }
    return false;
}

bool SelectionTool::OnUpdateCommand(int id, CommandUiState& state) {
    const bool image = HasImage();
    const bool selection = state_.HasSelection();
    switch (id) {
        case cmd::ID_EDIT_COPY:
        case cmd::ID_EDIT_CUT:
            state.enabled = image && selection;
            return true;
        case cmd::ID_EDIT_PASTE:
        case cmd::ID_PASTE_HERE:
            state.enabled = image && clipboard_ != nullptr && clipboard_->HasImage();
            return true;
        case cmd::ID_EDIT_SELECT_ALL:
            state.enabled = image;
            return true;
        case cmd::ID_EDIT_CLEAR:
            if (!selection) {
                return false;
            }
            state.enabled = true;
            return true;
        case cmd::ID_TRIM:
        case cmd::ID_SEL_FILL_KEY:
            state.enabled = image && selection && !state_.pasteMode;
            return true;
        case cmd::ID_PASTE_FIRST_SIZE:
            state.enabled = image && state_.pasteMode;
            return true;
        case cmd::ID_SEL_CENTER:
            state.enabled = selection && ToolModeFromStored(services_.model.settings.toolMode) ==
                                             ToolMode::Select;
            return true;
        default:
            break;
    }
    if (IsTransformCommand(id)) {
        state.enabled = TransformsEnabled();
        return true;
    }
    return false;
}

// The picture a copy puts on the clipboard: the pixels under the selection, which become the
// paste buffer, or the floating picture as it is drawn.
SelectionTool::CopyOutcome SelectionTool::CopyToClipboard() {
    Bitmap picture;
    const bool made = state_.pasteMode
                          ? StretchPart(state_.pasteBuffer, state_.pasteSize,
                                        {0, 0, state_.rect.Width(), state_.rect.Height()},
                                        {0, 0, state_.rect.Width(), state_.rect.Height()}, picture)
                          : CopyArea(services_.model.image.WorkImage, state_.rect, picture);
    if (!made) {
        services_.prompter.Error(str::kMemoryAllocationFailed);
        return CopyOutcome::NoPicture;
    }
    const bool written = clipboard_ != nullptr && clipboard_->SetImage(WrapBitmap(picture).copy());
    if (!state_.pasteMode) {
        state_.pasteSize = {picture.Width(), picture.Height()};
        state_.pasteBuffer = std::move(picture);
    }
    if (!written) {
        services_.prompter.Show({0, std::string(texts::kClipboardWriteFailed)});
        return CopyOutcome::NotWritten;
    }
    return CopyOutcome::Written;
}

void SelectionTool::CopySelection() {
    if (!HasImage() || !state_.HasSelection()) {
        return;
    }
    const bool floating = state_.pasteMode;
    // The copy floats even when the clipboard refused it: the picture itself was made.
    if (CopyToClipboard() == CopyOutcome::NoPicture || floating) {
        return;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QTimer::singleShot(kCopyWaitMs, [] { QApplication::restoreOverrideCursor(); });
    services_.statusBar.GuideHint(str::kGuideClickToPaste);
    state_.pasteMode = true;
    Repaint();
}

void SelectionTool::CutSelection() {
    if (!HasImage() || !state_.HasSelection()) {
        return;
    }
    if (CopyToClipboard() != CopyOutcome::Written) {
        return;  // nothing is erased when the picture did not reach the clipboard
    }
    if (state_.pasteMode) {
        ClearSelection();  // the floating picture goes with the cut
        return;
    }
    FillSelectionWithKey();
}

void SelectionTool::FillSelectionWithKey() {
    if (!HasImage() || !state_.HasSelection()) {
        return;
    }
    ImageState& image = services_.model.image;
    const Rect landed = state_.rect.Intersected(image.WorkImage.Bounds());
    if (!landed.IsEmpty()) {
        if (!services_.view.PushImageSnapshot(landed)) {
            return;
        }
        FillArea(image.WorkImage, landed, PixelFromColour(image.TransparentColor));
    }
    state_.rect = {};
    state_.pasteMode = false;
    services_.view.ForgetPointerOverlay();
    emit services_.view.ImageEdited({});
    RefreshImageInfo();
}

void SelectionTool::ClearSelection() {
    if (!state_.HasSelection()) {
        return;
    }
    state_.rect = {};
    state_.pasteMode = false;
    Repaint();
    RefreshImageInfo();
}

void SelectionTool::PasteFromClipboard(std::optional<Point> client) {
    if (!HasImage() || clipboard_ == nullptr || !clipboard_->HasImage()) {
        return;
    }
    const QImage picture = clipboard_->Image();
    const Size size{picture.width(), picture.height()};
    const Size image = ImageSize();
    // A picture we could not hold, or could not make room for, changes nothing.
    if (picture.isNull() || size.width < 1 || size.height < 1 ||
        (PasteEnlarges(image, size) && !EnlargedSizeFits(image, size))) {
        services_.prompter.Error(str::kPasteFailed, texts::kSetErrorLine);
        return;
    }
    Bitmap buffer;
    if (!ToBitmap(picture, buffer)) {
        services_.prompter.Error(str::kMemoryAllocationFailed);
        return;
    }
    // The new picture is in hand: only now does the one floating go down, as its own step.
    if (!PutDownFloatingPicture()) {
        return;
    }
    ImageState& state = services_.model.image;
    Rect rect;
    if (PasteEnlarges(image, size)) {
        Bitmap enlarged;
        if (!EnlargeImage(state.WorkImage, size, enlarged)) {
            services_.prompter.Error(str::kMemoryAllocationFailed);
            return;
        }
        if (!services_.view.PushImageSnapshot({})) {
            return;
        }
        state.WorkImage = std::move(enlarged);
        state.width = state.WorkImage.Width();
        state.height = state.WorkImage.Height();
        services_.view.ImageReplaced();
        emit services_.view.ImageResized();
        rect = {0, 0, state.width, state.height};
    } else {
        const Point at = client.value_or(Point{});
        if (at == Point{}) {
            const QSize area = services_.view.viewport()->size();
            const Size imageSize{state.width, state.height};
            const Point centre = PasteCentre({area.width(), area.height()}, imageSize, Mapping());
            rect = ShiftedInto(PastePlacement(centre, size, Mapping()), imageSize);
        } else {
            rect = PastePlacement(at, size, Mapping());
        }
    }
    state_.pasteBuffer = std::move(buffer);
    state_.pasteSize = size;
    state_.rect = rect;
    state_.pasteMode = true;
    if (services_.setToolMode) {
        services_.setToolMode(ToolMode::Select);  // the ribbon's tab stays
    }
    services_.view.ForgetPointerOverlay();
    emit services_.view.ImageEdited({});
    RefreshImageInfo();
}

void SelectionTool::SelectAll() {
    if (!HasImage()) {
        return;
    }
    const Size image = ImageSize();
    // A floating picture is stretched over it, still from its own size.
    state_.rect = {0, 0, image.width, image.height};
    Repaint();
    RefreshImageInfo();
}

void SelectionTool::TrimToSelection() {
    if (!HasImage() || !state_.HasSelection() || state_.pasteMode) {
        return;
    }
    const Size image = ImageSize();
    if (state_.rect.Width() == image.width && state_.rect.Height() == image.height) {
        return;
    }
    Bitmap trimmed;
    if (!CopyArea(services_.model.image.WorkImage, state_.rect, trimmed)) {
        services_.prompter.Error(str::kMemoryAllocationFailed);
        return;
    }
    if (!services_.view.PushImageSnapshot({})) {
        return;
    }
    ReplaceImage(std::move(trimmed));
    state_.rect = {};
    RefreshImageInfo();
}

void SelectionTool::RestorePasteSize() {
    if (!HasImage() || !state_.pasteMode) {
        return;
    }
    state_.rect = RestoredPasteRect(state_.rect, state_.pasteSize, ImageSize(),
                                    services_.model.settings.zoomFactor);
    Repaint();
    RefreshImageInfo();
}

void SelectionTool::CentreOnSelection() {
    if (!state_.HasSelection() ||
        ToolModeFromStored(services_.model.settings.toolMode) != ToolMode::Select) {
        return;
    }
    const float zoom = services_.model.settings.zoomFactor;
    const Rect& r = state_.rect;
    services_.view.CentreOn({static_cast<int>(static_cast<float>((r.left + r.right) / 2) * zoom),
                             static_cast<int>(static_cast<float>((r.top + r.bottom) / 2) * zoom)});
}

}  // namespace palvex::ui
