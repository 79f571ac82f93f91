#pragma once

#include <QTimer>
#include <QWidget>
#include <functional>
#include <optional>

#include "app/editor_model.h"
#include "canvas/navigator_layout.h"
#include "image/bitmap.h"
#include "tools/pointer_animation.h"

class QMenu;

namespace palvex::ui {

class CMyStatusBar;
class CVemmarView;

// The navigator: a small frameless tool window with the whole image and a frame round the part
// the canvas shows. Dragging the frame scrolls the canvas, dragging elsewhere moves the window,
// a double-click zooms in there. Its picture is made once per image and mended where edits
// change it, so scrolling a very large image costs only the redraw of a small window.
class CNaviDlg final : public QWidget {
    Q_OBJECT

public:
    CNaviDlg(EditorModel& model, CVemmarView& view, CMyStatusBar& statusBar, QWidget* owner);
    ~CNaviDlg() override;

    // Placement from the stored values, on the screen of `owner`.
    void Place(const NavigatorPlacement& stored);
    NavigatorPlacement Placement() const;
    void MoveToScreenCorner();

    NavigatorThumbnail Thumbnail() const;
    Rect ViewFrame() const;
    bool Snapped() const { return snapped_; }
    bool Animating() const { return animating_; }
    const AnimationRings& Rings() const { return rings_; }
    // The averaged picture of the image at the thumbnail's size; null until it is painted.
    const Bitmap& Picture() const { return picture_; }

    // The canvas's image changes: mended where an edit changed it, remade for a new image.
    void ImageEdited(const Rect& imageRect);
    void ImageReplaced();

    // The context menu's commands, at the context point.
    void OnMenuCommand(int id);
    void ZoomAt(Point p);
    void StopAnimation();
    void AnimationTick();

    // Tests replace how a menu opens, how the pointer is moved and the generator of the rings.
    std::function<void(QMenu& menu, const QPoint& global)> execMenu;
    std::function<void(const QPoint& global)> moveCursor;
    std::function<RingRandom()> makeRandom = TimeSeededRandom;
    // Runs when the window hides itself (Esc, the hide item): DspNavi is cleared.
    std::function<void()> hidden;

    static constexpr Size kDesignedSize{150, 152};

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    Size ImageSize() const;
    Rect ScreenRect() const;
    bool RefreshPicture();
    void Compose();
    void Recompose();
    void FrameDrag(Point p);
    void WindowDrag(const QPoint& global);
    void Hover(Point p, bool ctrl);
    void LeaveFrame();
    void OpenMenu(Point p);
    void FitAspect(bool keepWidth);

    EditorModel& model_;
    CVemmarView& view_;
    CMyStatusBar& statusBar_;
    Bitmap picture_;  // the averaged image at the thumbnail's size
    Bitmap screen_;   // the composed client
    Colour pictureKey_ = kNoColour;
    Size pictureImage_;
    Rect pendingEdit_;  // image pixels changed since the picture was mended
    bool pictureValid_ = false;
    bool needsCompose_ = true;  // screen_ no longer shows the image, scroll or size

    bool frameDrag_ = false;
    bool windowDrag_ = false;
    Point pressDistance_;
    QPoint pressGlobal_;
    QPoint pressWindow_;
    bool snapped_ = false;
    Point contextPoint_;

    bool animating_ = false;
    QTimer animationTimer_;
    AnimationRings rings_;
};

}  // namespace palvex::ui
