#pragma once

#include <memory>

#include "app/editor_model.h"
#include "mainwindow/ui/command_router.h"
#include "tools/pen_stroke.h"
#include "tools/pens.h"
#include "tools/processing_range.h"
#include "tools/range_shape.h"
#include "tools/tool_mode.h"
#include "tools/ui/canvas_tool_hooks.h"

class QString;

namespace palvex::ui {

class CanvasInput;
class CMyRibbonBar;
class CMyStatusBar;
class CVemmarView;

// The range pens on the canvas (the pen of mode 1 and the fill-back pen of mode 4): the range
// outline that follows the pointer, the gestures of the right button that shape it, the strokes
// of the left button with their one undo step each, the whole-image passes, and the pen tab's
// commands that set the range and the target colours.
class PenTool final : public PenHooks, public CommandTarget {
public:
    struct Services {
        EditorModel& model;
        CVemmarView& view;
        CMyStatusBar& statusBar;
        CMyRibbonBar& ribbon;
        CanvasInput& input;  // keeps the right button's drag anchor
    };

    explicit PenTool(Services services);
    ~PenTool() override;

    bool PenStrokeInProgress() const override { return stroke_ != nullptr; }
    void StartPenStroke(Point client, Point q) override;
    void EndPenStroke(Point client, Point q) override;
    void FinishStrokeForHistory() override;
    void ApplyPenToWholeImage(Point q) override;
    void PenMove(Point client, Point q) override;
    void TurnRange(int delta, bool fine) override;
    void NextPenShape(Point client) override;
    void RedrawRangeOutline(Point client) override;

    bool OnCommand(int id) override;
    bool OnUpdateCommand(int id, CommandUiState& state) override;

    // The outline drawn last, which the next application processes (client pixels).
    const RangeOutline& Outline() const { return outline_; }

private:
    // The settings, with stored values outside the controls' ranges pulled into them.
    ProcessingRange Range() const;
    void StoreRange(const ProcessingRange& range);
    TargetColours Targets() const;
    PenSettings Settings() const;
    ToolMode Mode() const;

    void DrawRangeOutline(Point client);
    void DrawFeedback(Point client, Colour under);
    // After a change of the range by a key or the wheel: the outline at the pointer, when the
    // pointer is over the image in a pen mode without the whole-image range.
    void RedrawAtPointer();
    void RightDrag(Point client);
    void Apply(Point q);
    void PushStrokeStep(Point q);

    // Commands (pen_tool_commands.cpp).
    void SetWholeImage(bool on);
    void SetAllColours(bool on);
    void TakeEditValue(int id);
    void SetShape(int shape, bool showInGallery);

    Services services_;
    std::unique_ptr<PenStroke> stroke_;
    bool modifiedBeforeStroke_ = true;
    RangeOutline outline_;
};

// The integer at the start of an edit's text (after blanks, with a sign); 0 when there is none.
// Digits beyond the int range saturate.
int LeadingEditNumber(const QString& text);

}  // namespace palvex::ui
