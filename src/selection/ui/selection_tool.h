#pragma once

#include <functional>
#include <memory>
#include <optional>

#include "app/editor_model.h"
#include "base/prompter.h"
#include "mainwindow/ui/command_router.h"
#include "selection/selection.h"
#include "selection/transforms.h"
#include "selection/ui/image_clipboard.h"
#include "selection/ui/transform_asker.h"
#include "tools/ui/canvas_tool_hooks.h"

class QImage;

namespace palvex::ui {

class CMyStatusBar;
class CVemmarView;

// The selection rectangle of mode 0 and the floating picture of a paste: the canvas's events
// through the selection hooks, and the selection, clipboard and transform commands.
class SelectionTool final : public SelectionHooks, public CommandTarget {
public:
    struct Services {
        EditorModel& model;
        CVemmarView& view;
        CMyStatusBar& statusBar;
        Prompter& prompter;
        // The common mode change; a paste switches to the selection mode.
        std::function<void(ToolMode)> setToolMode;
    };
    SelectionTool(Services services, std::unique_ptr<ImageClipboard> clipboard,
                  std::unique_ptr<TransformAsker> asker);
    ~SelectionTool() override;

    const SelectionState& State() const { return state_; }
    void SetClipboard(std::unique_ptr<ImageClipboard> clipboard);
    void SetAsker(std::unique_ptr<TransformAsker> asker);

    // The canvas's events.
    bool HasSelection() const override { return state_.HasSelection(); }
    Rect SelectionRect() const override { return state_.rect; }
    bool PasteFloating() const override { return state_.pasteMode; }
    bool InsideSelection(Point client) const override;
    bool MovingSelection() const override { return drag_ != Drag::None; }
    bool SelectionTakesPress(Point client) override;
    void CommitPaste() override;
    bool PutDownFloatingPicture() override;
    bool RemoveSelection() override;
    void StartRubberBand(Point q) override;
    void DropForHistory() override;
    void SelectionHover(Point client) override;
    bool ContinueDrag(Point client, Point q) override;
    bool EndDrag(Point client) override;
    bool TabKey(bool reverse) override;
    bool ArrowKey(int dx, int dy, bool ctrl, bool shift) override;
    void PaintOnFrame(QPainter& painter, const Rect& clip) override;

    bool OnCommand(int id) override;
    bool OnUpdateCommand(int id, CommandUiState& state) override;

    // The commands, also for tests.
    enum class CopyOutcome { NoPicture, NotWritten, Written };
    CopyOutcome CopyToClipboard();
    void CopySelection();
    void CutSelection();
    void FillSelectionWithKey();
    void ClearSelection();
    void PasteFromClipboard(std::optional<Point> client);
    void SelectAll();
    void TrimToSelection();
    void RestorePasteSize();
    void CentreOnSelection();

private:
    enum class Drag { None, Handle, Move, Band };
    enum class Target { None, Image, Picture };

    bool HasImage() const;
    Size ImageSize() const;
    CanvasMapping Mapping() const;
    Point ToImage(Point client) const;
    void Repaint();
    void RefreshImageInfo();
    // The floating picture follows a new size of the rectangle.
    void ResampleTo(Size size);
    void DrawOutline(QPainter& painter, const Rect& window, bool solid, int thickSide) const;
    void PreviewOutline(const Rect& image);
    void PreviewPicture(const Rect& image);

    // Transforms (whole image: one undo step; floating picture: none, then recentred).
    static bool IsTransformCommand(int id);
    Target TransformTarget() const;
    bool TransformsEnabled() const;
    void Transform(int id);
    // `make` builds the result of the target's pixels; false leaves everything as it was.
    template <class Make>
    void ApplyTransform(Make make);
    void ReplaceImage(Bitmap&& result);
    // Invert, mirrors and quarter turns of the whole image, made by the history as steps of
    // their own; false when the history does not make them.
    bool ApplyImageOperation(int id);
    void ImageChanged(Size before);
    void ReplacePicture(Bitmap&& result);

    Services services_;
    std::unique_ptr<ImageClipboard> clipboard_;
    std::unique_ptr<TransformAsker> asker_;
    SelectionState state_;
    Drag drag_ = Drag::None;
    int handle_ = -1;
    Point grab_;
    Rect dragged_;
    std::optional<RubberBand> band_;
};

}  // namespace palvex::ui
