// The transforms in the window: on the whole image as one undo step, or on the floating picture
// with none. Invert, mirrors and quarter turns of the whole image are made by the history, whose
// step is the operation; every other result is built aside and replaces only once it exists.

#include <optional>

#include "canvas/ui/vemmar_view.h"
#include "mainwindow/ui/my_status_bar.h"
#include "resources/command_ids.h"
#include "resources/string_table.h"
#include "selection/paste_pixels.h"
#include "selection/transform_dialogs.h"
#include "selection/ui/selection_tool.h"

namespace palvex::ui {

bool SelectionTool::IsTransformCommand(int id) {
    switch (id) {
        case cmd::ID_REVERSE_H:
        case cmd::ID_REVERSE_V:
        case cmd::ID_ROT_180:
        case cmd::ID_ROT_90:
        case cmd::ID_ROT_270:
        case cmd::ID_ROT_X:
        case cmd::ID_SIZE_50:
        case cmd::ID_SIZE_75:
        case cmd::ID_SIZE_X:
        case cmd::ID_REVERSE:
        case cmd::ID_GRAY_SCALE:
            return true;
        default:
            return false;
    }
}

SelectionTool::Target SelectionTool::TransformTarget() const {
    if (!HasImage()) {
        return Target::None;
    }
    if (!state_.HasSelection()) {
        return Target::Image;
    }
    return state_.pasteMode ? Target::Picture : Target::None;
}

// A selection that is not a floating picture disables them.
bool SelectionTool::TransformsEnabled() const {
    return !(state_.HasSelection() && !state_.pasteMode);
}

void SelectionTool::Transform(int id) {
    const Target target = TransformTarget();
    if (target == Target::None) {
        return;
    }
    if (target == Target::Image && ApplyImageOperation(id)) {
        return;
    }
    const Size size =
        target == Target::Image ? ImageSize() : Size{state_.rect.Width(), state_.rect.Height()};
    Size newSize;
    int angle = 0;
    switch (id) {
        case cmd::ID_SIZE_50:
            newSize = HalfSize(size);
            break;
        case cmd::ID_SIZE_75:
            newSize = ThreeQuarterSize(size);
            break;
        case cmd::ID_SIZE_X: {
            if (asker_ == nullptr) {
                return;
            }
            const std::optional<Size> answer =
                asker_->AskSize(SizeDialogBaseFor(size), services_.model.settings);
            if (!answer) {
                return;
            }
            newSize = *answer;
            break;
        }
        case cmd::ID_ROT_X: {
            if (asker_ == nullptr) {
                return;
            }
            const std::optional<int> answer = asker_->AskAngle(services_.model.settings);
            if (!answer) {
                return;
            }
            services_.model.settings.rotation = *answer;
            angle = *answer;
            if (angle == 0) {
                return;
            }
            break;
        }
        default:
            break;
    }
    const Colour fill = services_.model.image.TransparentColor;
    CMyStatusBar& bar = services_.statusBar;
    int shownRange = -1;
    const ColumnProgress progress = [&bar, &shownRange](int position, int range) {
        if (range != shownRange) {
            bar.SetProgressRange(range);
            shownRange = range;
        }
        bar.SetProgressPosition(position);
    };
    if (target == Target::Image && id == cmd::ID_GRAY_SCALE) {
        // In place after the snapshot: a result built aside would cost a fresh image's pages.
        const Size before = ImageSize();
        if (!services_.view.PushImageSnapshot({})) {
            return;
        }
        Bitmap& image = services_.model.image.WorkImage;
        (void)Greyscale(image, image, progress);
        ImageChanged(before);
        return;
    }
    ApplyTransform([id, newSize, angle, fill, &progress](const Bitmap& src, Bitmap& out) {
        switch (id) {
            case cmd::ID_REVERSE_H:
                return Flip(src, true, false, out);
            case cmd::ID_REVERSE_V:
                return Flip(src, false, true, out);
            case cmd::ID_ROT_180:
                return Flip(src, true, true, out);
            case cmd::ID_ROT_90:
                return RotateQuarter(src, QuarterTurn::Clockwise, out);
            case cmd::ID_ROT_270:
                return RotateQuarter(src, QuarterTurn::CounterClockwise, out);
            case cmd::ID_ROT_X:
                return RotateByAngle(src, angle, fill, out);
            case cmd::ID_REVERSE:
                return Invert(src, out);
            case cmd::ID_GRAY_SCALE:
                return Greyscale(src, out, progress);
            default:
                return Resize(src, newSize.width, newSize.height, out);
        }
    });
}

template <class Make>
void SelectionTool::ApplyTransform(Make make) {
    const Target target = TransformTarget();
    Bitmap result;
    if (target == Target::Image) {
        const TransformResult done = make(services_.model.image.WorkImage, result);
        if (!done.ok) {
            if (done.message != 0) {
                services_.prompter.Error(done.message);
            }
            return;
        }
        // The step is stored once the result exists, so a failure leaves no step behind.
        if (!services_.view.PushImageSnapshot({})) {
            return;
        }
        ReplaceImage(std::move(result));
        return;
    }
    // The floating picture is transformed at the size it is drawn.
    Bitmap drawn;
    const Rect size{0, 0, state_.rect.Width(), state_.rect.Height()};
    if (!StretchPart(state_.pasteBuffer, state_.pasteSize, size, size, drawn)) {
        services_.prompter.Error(str::kMemoryAllocationFailed);
        return;
    }
    const TransformResult done = make(drawn, result);
    if (!done.ok) {
        if (done.message != 0) {
            services_.prompter.Error(done.message);
        }
        return;
    }
    ReplacePicture(std::move(result));
}

// These need no snapshot: undoing one is making its inverse.
bool SelectionTool::ApplyImageOperation(int id) {
    std::optional<ImageOperation> op;
    switch (id) {
        case cmd::ID_REVERSE_H:
            op = ImageOperation::MirrorX;
            break;
        case cmd::ID_REVERSE_V:
            op = ImageOperation::MirrorY;
            break;
        case cmd::ID_ROT_180:
            op = ImageOperation::Turn180;
            break;
        case cmd::ID_ROT_90:
            op = ImageOperation::TurnClockwise;
            break;
        case cmd::ID_ROT_270:
            op = ImageOperation::TurnCounterClockwise;
            break;
        case cmd::ID_REVERSE:
            op = ImageOperation::Invert;
            break;
        default:
            return false;
    }
    CVemmarView& view = services_.view;
    if (!view.RecordsOperations()) {
        return false;
    }
    const ImageState& image = services_.model.image;
    const Size before{image.width, image.height};
    if (!view.ApplyOperation(*op)) {
        services_.prompter.Error(str::kRotateFailed);  // only a turn needs memory
        return true;
    }
    ImageChanged(before);
    return true;
}

void SelectionTool::ReplaceImage(Bitmap&& result) {
    ImageState& image = services_.model.image;
    const Size before{image.width, image.height};
    image.WorkImage = std::move(result);
    image.width = image.WorkImage.Width();
    image.height = image.WorkImage.Height();
    ImageChanged(before);
}

void SelectionTool::ImageChanged(Size before) {
    const ImageState& image = services_.model.image;
    services_.view.ForgetPointerOverlay();
    if (before != Size{image.width, image.height}) {
        services_.view.ImageReplaced();
        emit services_.view.ImageResized();
    }
    emit services_.view.ImageEdited({});
}

void SelectionTool::ReplacePicture(Bitmap&& result) {
    const Size size{result.Width(), result.Height()};
    state_.pasteBuffer = std::move(result);
    state_.pasteSize = size;
    state_.rect = RecentredRect(state_.rect, size);
    Repaint();
}

}  // namespace palvex::ui
