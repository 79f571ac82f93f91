#pragma once

#include <QAbstractScrollArea>
#include <QImage>
#include <QStringList>
#include <functional>
#include <memory>

#include "app/editor_model.h"
#include "base/prompter.h"
#include "base/work_folder.h"
#include "canvas/canvas_mapping.h"
#include "canvas/image_layer.h"
#include "canvas/ui/edit_history.h"
#include "mainwindow/ui/command_router.h"

namespace palvex::ui {

class CanvasInput;

// The canvas: shows the working image at the current zoom over its background, maps window
// points to image pixels and carries out the zoom, scroll and background commands.
class CVemmarView final : public QAbstractScrollArea, public CommandTarget {
    Q_OBJECT

public:
    CVemmarView(EditorModel& model, SettingsStore& store, Prompter& prompter,
                const WorkFolder& workFolder, QWidget* parent = nullptr);

    // The buffers and tiles a canvas needs; false when one cannot be made (start-up ends).
    bool Create();

    // Image changes: an edit stores the changed image rectangle before repainting; every other
    // change repaints everything.
    void SetDirtyRect(const Rect& imageRect) { dirtyRect_ = imageRect; }
    void RepaintNow();
    void ImageReplaced();  // new size: extent, full repaint
    // The document's title, which the canvas announces with the image's size.
    void SetDocumentName(const QString& name);

    // Zoom and scrolling.
    void SetZoom(float factor);
    void ZoomAt(Point client, float factor);
    void CentreOn(Point zoomed);
    int ZoomSliderPosition() const { return sliderPosition_; }
    void SetZoomSliderPosition(int position);
    Point ScrollPosition() const;
    CanvasMapping Mapping() const;
    // The canvas's client size for the current extent, and whether it scrolls on either axis.
    Size ClientArea() const { return ClientSizeFor(Extent()); }
    bool ScrollsHorizontally() const;
    bool ScrollsVertically() const;
    void ScrollTo(Point position);
    const BackgroundTiles& Tiles() const { return tiles_; }
    Point ContextPoint() const { return contextPoint_; }

    // Background.
    void SetBackgroundMode(std::int32_t mode, bool seeThrough);
    bool SeeThrough() const { return seeThrough_; }
    void TestTransparency();
    void ChangeFreeBackground();

    // Feedback drawn over the canvas by the tools.
    void ErasePointerOverlay();
    void ForgetPointerOverlay() { overlayRect_ = {}; }
    // Erases the previous feedback and draws new feedback over `rect` (window pixels). The
    // composed frame stays in ScreenBuffer, which is what erasing copies back.
    void DrawPointerOverlay(const Rect& rect, std::function<void(QPainter&)> paint);
    Rect OverlayRect() const { return overlayRect_; }

    // The tools' input dispatch; the frame installs it.
    void SetInput(CanvasInput* input) { input_ = input; }
    void SetContextPoint(Point client) { contextPoint_ = client; }

    // The undo step before a change of the image (empty rectangle: the whole image); false when
    // it could not be stored, and the change must not be made.
    bool PushImageSnapshot(const Rect& imageRect);
    // A flood fill is made with a record and then handed over, when the history takes them.
    bool RecordsFills() const { return history_ != nullptr && history_->RecordsFills(); }
    bool PushFill(FillRecord record) { return history_->PushFill(std::move(record)); }
    // Invert, mirrors and quarter turns of the whole image are made by the history, their step
    // the operation itself, when it records them.
    bool RecordsOperations() const { return history_ != nullptr && history_->RecordsOperations(); }
    bool ApplyOperation(ImageOperation op) { return history_->ApplyOperation(op); }
    // The whole-image fill-back is recorded after its pass, when the history takes that.
    bool RecordsFillBacks() const { return history_ != nullptr && history_->RecordsFillBacks(); }
    bool PushFillBack(KeyRunRecord record) { return history_->PushFillBack(std::move(record)); }
    // After a change of the image that made no step.
    void NoteUnrecordedChange() {
        if (history_ != nullptr) {
            history_->NoteUnrecordedChange();
        }
    }
    // The undo history: emptied at every load, its writes finished before a save and at exit.
    EditHistory* History() { return history_.get(); }
    void SetHistory(std::unique_ptr<EditHistory> history);
    void ResetHistory();
    void WaitForHistoryWrites();

    // Whether the document is modified, as the application knows it.
    std::function<bool()> documentModified;

    // The painting of a see-through window that waits without processing messages: tests
    // replace the wait.
    std::function<void(int milliseconds)> blockingWait;

    // A copy of what the canvas shows (window pixels), for tests and the navigator.
    QImage Rendered();
    // The composed frame in window coordinates (ScreenBuffer).
    const Bitmap& ScreenBuffer() const { return screenBuffer_; }

    bool OnCommand(int id) override;
    bool OnUpdateCommand(int id, CommandUiState& state) override;

signals:
    void FilesDropped(const QStringList& paths);
    void ZoomSliderMoved(int position);
    void SeeThroughChanged(bool on);
    // A tool changed pixels of the image: the document is modified and the rectangle repainted.
    void ImageEdited(const Rect& imageRect);
    // An edit whose undo step could not be stored was taken back: the rectangle's pixels are as
    // before it, and so is the document's modified flag.
    void ImageEditTakenBack(const Rect& imageRect, bool modifiedBefore);
    // Undo or redo gave the image another size: the position and size panes follow.
    void ImageResized();
    // A file was opened as the new image: the tools drop what belonged to the old one.
    void ImageLoaded();
    // A new image replaced the old one (loading, a transform of the whole image).
    void ImageReplacedSignal();
    // The image layer was drawn again (not only pointer feedback).
    void ImageLayerRepainted();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void wheelEvent(QWheelEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool focusNextPrevChild(bool next) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    bool EnsureScreenBuffer(Size client);
    void UpdateScrollBars();
    bool LoadFreeBackground(const std::filesystem::path& path);
    void UndoOrRedo(bool undo);
    Size ClientSize() const;
    Size ClientSizeFor(Size extent) const;  // with the bars that extent calls for
    Size Extent() const;
    // The name a screen reader gives the canvas: the document's title and the image's size.
    void AnnounceImage();

    EditorModel& model_;
    SettingsStore& store_;
    Prompter& prompter_;
    const WorkFolder& workFolder_;
    Bitmap screenBuffer_;  // ScreenBuffer: composed frame, window coordinates
    BackgroundTiles tiles_;
    Rect dirtyRect_;    // DirtyRect, image pixels; empty = everything
    Rect overlayRect_;  // OverlayRect, window pixels
    std::function<void(QPainter&)> overlayPaint_;
    bool overlayRepaint_ = false;  // the repaint under way only puts back or draws feedback
    CanvasInput* input_ = nullptr;
    std::unique_ptr<EditHistory> history_;
    Point contextPoint_;
    QString documentName_;
    int sliderPosition_ = 2;
    bool seeThrough_ = false;
    bool fullRedraw_ = true;  // the buffer no longer holds a valid frame
};

}  // namespace palvex::ui
