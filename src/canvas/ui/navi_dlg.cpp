#include "canvas/ui/navi_dlg.h"

#include <QCursor>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QWindow>
#include <map>

#include "app/ui/qt_colour.h"
#include "app/ui/qt_text.h"
#include "canvas/canvas_mapping.h"
#include "canvas/ui/vemmar_view.h"
#include "mainwindow/ui/my_status_bar.h"
#include "resources/command_ids.h"
#include "resources/command_table.h"
#include "resources/texts.h"

namespace palvex::ui {
namespace {

constexpr std::string_view kMenuName = "NAVI";
constexpr int kSizingBorder = 4;

QImage Wrap(Bitmap& bitmap) {
    return QImage(reinterpret_cast<uchar*>(bitmap.Data()), bitmap.Width(), bitmap.Height(),
                  static_cast<qsizetype>(bitmap.Stride()), QImage::Format_RGB32);
}

Point ToPoint(const QPointF& p) {
    return {static_cast<int>(p.x()), static_cast<int>(p.y())};
}

// The zoom item that carries the check: a factor that is no level checks 100 %.
int CheckedZoomItem(float zoom) {
    for (std::size_t i = 0; i < kZoomLevels.size(); ++i) {
        if (zoom == kZoomLevels[i]) {
            return cmd::ID_ZOOM1 + static_cast<int>(i);
        }
    }
    return cmd::ID_ZOOM2;
}

}  // namespace

CNaviDlg::CNaviDlg(EditorModel& model, CVemmarView& view, CMyStatusBar& statusBar, QWidget* owner)
    : QWidget(owner, Qt::Tool | Qt::FramelessWindowHint),
      model_(model),
      view_(view),
      statusBar_(statusBar) {
    setObjectName("CNaviDlg");
    setMouseTracking(true);
    // Takes the keyboard when activated or clicked, as a window does (Esc hides it).
    setFocusPolicy(Qt::StrongFocus);
    setMinimumSize(kNavigatorMinSide, kNavigatorMinSide);
    setMaximumSize(kNavigatorMaxSide, kNavigatorMaxSide);
    resize(kDesignedSize.width, kDesignedSize.height);
    execMenu = [](QMenu& menu, const QPoint& global) { menu.exec(global); };
    moveCursor = [](const QPoint& global) { QCursor::setPos(global); };
    animationTimer_.setTimerType(Qt::PreciseTimer);
    connect(&animationTimer_, &QTimer::timeout, this, &CNaviDlg::AnimationTick);
    // The canvas asks for a new picture of the frame at each redraw of its image layer.
    connect(&view_, &CVemmarView::ImageLayerRepainted, this, &CNaviDlg::Recompose);
    connect(&view_, &CVemmarView::ImageEdited, this, &CNaviDlg::ImageEdited);
    connect(&view_, &CVemmarView::ImageEditTakenBack, this,
            [this](const Rect& imageRect, bool) { ImageEdited(imageRect); });
    connect(&view_, &CVemmarView::ImageReplacedSignal, this, &CNaviDlg::ImageReplaced);
}

CNaviDlg::~CNaviDlg() = default;

Size CNaviDlg::ImageSize() const {
    const ImageState& image = model_.image;
    return image.WorkImage.IsNull() ? Size{} : Size{image.width, image.height};
}

Rect CNaviDlg::ScreenRect() const {
    const QWidget* owner = parentWidget();
    const QScreen* screen = owner != nullptr ? owner->screen() : this->screen();
    const QRect r = screen != nullptr ? screen->geometry() : QRect(0, 0, 1920, 1080);
    return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

void CNaviDlg::Place(const NavigatorPlacement& stored) {
    const QWidget* owner = parentWidget();
    const QRect o = owner != nullptr ? owner->frameGeometry() : QRect();
    const Rect r = PlaceNavigator(stored, kDesignedSize, ScreenRect(),
                                  {o.left(), o.top(), o.left() + o.width(), o.top() + o.height()});
    setGeometry(r.left, r.top, r.Width(), r.Height());
}

NavigatorPlacement CNaviDlg::Placement() const {
    return {x(), y(), width(), height()};
}

void CNaviDlg::MoveToScreenCorner() {
    const Rect screen = ScreenRect();
    move(screen.left, screen.top);
}

NavigatorThumbnail CNaviDlg::Thumbnail() const {
    return LayOutThumbnail({width(), height()}, ImageSize());
}

Rect CNaviDlg::ViewFrame() const {
    const Size image = ImageSize();
    if (image.width == 0) {
        return {};
    }
    return NavigatorViewFrame(Thumbnail(), image, model_.settings.zoomFactor,
                              view_.ScrollPosition(), view_.ClientArea(),
                              view_.ScrollsHorizontally() || view_.ScrollsVertically());
}

void CNaviDlg::ImageEdited(const Rect& imageRect) {
    if (imageRect.IsEmpty()) {
        pictureValid_ = false;
    } else {
        pendingEdit_ = pendingEdit_.United(imageRect);
    }
    Recompose();
}

void CNaviDlg::ImageReplaced() {
    // Made again at the next repaint; a hidden navigator keeps nothing of the old image.
    picture_.Reset();
    pictureValid_ = false;
    pendingEdit_ = {};
    StopAnimation();
    Recompose();
}

void CNaviDlg::Recompose() {
    needsCompose_ = true;
    if (isVisible()) {
        update();
    }
}

bool CNaviDlg::RefreshPicture() {
    const ImageState& image = model_.image;
    const Rect rect = Thumbnail().rect;
    const Size size{rect.Width(), rect.Height()};
    if (image.WorkImage.IsNull() || size.width <= 0 || size.height <= 0) {
        return false;
    }
    const Size imageSize = ImageSize();
    if (!pictureValid_ || picture_.Width() != size.width || picture_.Height() != size.height ||
        pictureKey_ != image.TransparentColor || pictureImage_ != imageSize) {
        pictureValid_ =
            MakeNavigatorPicture(image.WorkImage, image.TransparentColor, size, picture_);
        pictureKey_ = image.TransparentColor;
        pictureImage_ = imageSize;
        pendingEdit_ = {};
        return pictureValid_;
    }
    if (!pendingEdit_.IsEmpty()) {
        UpdateNavigatorPicture(image.WorkImage, image.TransparentColor, pendingEdit_, picture_);
        pendingEdit_ = {};
    }
    return true;
}

void CNaviDlg::Compose() {
    needsCompose_ = false;
    if (screen_.Width() != width() || screen_.Height() != height()) {
        if (!screen_.Create(width(), height())) {
            return;
        }
    }
    const NavigatorThumbnail thumb = Thumbnail();
    if (!RefreshPicture()) {
        ComposeNavigator(screen_, {}, picture_, model_.settings.backgroundMode, view_.Tiles());
        return;
    }
    ComposeNavigator(screen_, thumb, picture_, model_.settings.backgroundMode, view_.Tiles());
    if (!view_.ScrollsHorizontally() && !view_.ScrollsVertically()) {
        return;
    }
    const Rect frame = ViewFrame();
    if (frame.IsEmpty()) {
        return;
    }
    const Colour corner = screen_.ReadPixel(frame.left, frame.top);
    const QColor outline = ToQColor(FrameOutlineColour(corner == kNoColour ? 0 : corner));
    QImage target = Wrap(screen_);
    QPainter painter(&target);
    // One pixel wide, right and bottom inside the rectangle, as the canvas draws its frames.
    painter.fillRect(frame.left, frame.top, frame.Width(), 1, outline);
    painter.fillRect(frame.left, frame.bottom - 1, frame.Width(), 1, outline);
    painter.fillRect(frame.left, frame.top, 1, frame.Height(), outline);
    painter.fillRect(frame.right - 1, frame.top, 1, frame.Height(), outline);
}

void CNaviDlg::paintEvent(QPaintEvent* /*event*/) {
    if (needsCompose_ || screen_.Width() != width() || screen_.Height() != height()) {
        Compose();
    }
    QPainter painter(this);
    if (screen_.IsNull()) {
        painter.fillRect(rect(), ToQColor(kNavigatorNeutral));
        return;
    }
    painter.drawImage(0, 0, Wrap(screen_));
    if (!animating_ || model_.settings.animationRings == 0) {
        return;
    }
    for (int i = 0; i < rings_.count; ++i) {
        for (int j = 0; j < kDotsPerRing; ++j) {
            if (const auto dot = DotOf(rings_.rings[static_cast<std::size_t>(i)], j)) {
                painter.setPen(QPen(ToQColor(dot->colour), 4, Qt::SolidLine, Qt::RoundCap));
                painter.drawPoint(dot->at.x, dot->at.y);
            }
        }
    }
}

void CNaviDlg::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    StopAnimation();
    needsCompose_ = true;
}

void CNaviDlg::StopAnimation() {
    if (!animating_) {
        return;
    }
    animating_ = false;
    animationTimer_.stop();
    update(QRect(rings_.box.left, rings_.box.top, rings_.box.Width(), rings_.box.Height()));
}

void CNaviDlg::AnimationTick() {
    if (!animating_) {
        return;
    }
    // Only the rings' box is drawn again, from the composed client.
    update(QRect(rings_.box.left, rings_.box.top, rings_.box.Width(), rings_.box.Height()));
    AdvanceRings(rings_);
}

void CNaviDlg::mousePressEvent(QMouseEvent* event) {
    const Point p = ToPoint(event->position());
    if (event->button() == Qt::RightButton) {
        return;  // the menu opens at the release
    }
    if (event->button() != Qt::LeftButton) {
        return;
    }
    StopAnimation();
    const Rect frame = ViewFrame();
    if (!frame.IsEmpty() && frame.Contains(p.x, p.y)) {
        frameDrag_ = true;
        pressDistance_ = {p.x - frame.left, p.y - frame.top};
        setCursor(Qt::PointingHandCursor);
        return;
    }
    // The sizing border: the window has no frame of its own to be resized by.
    Qt::Edges edges;
    if (p.x < kSizingBorder) {
        edges |= Qt::LeftEdge;
    } else if (p.x >= width() - kSizingBorder) {
        edges |= Qt::RightEdge;
    }
    if (p.y < kSizingBorder) {
        edges |= Qt::TopEdge;
    } else if (p.y >= height() - kSizingBorder) {
        edges |= Qt::BottomEdge;
    }
    if (edges != Qt::Edges() && windowHandle() != nullptr &&
        windowHandle()->startSystemResize(edges)) {
        return;
    }
    windowDrag_ = true;
    pressGlobal_ = event->globalPosition().toPoint();
    pressWindow_ = pos();
    setCursor(Qt::SizeAllCursor);
}

void CNaviDlg::FrameDrag(Point p) {
    const NavigatorThumbnail thumb = Thumbnail();
    const float zoom = model_.settings.zoomFactor;
    const Point before = view_.ScrollPosition();
    Point next = before;
    if (view_.ScrollsHorizontally()) {
        next.x = FrameDragScroll(p.x, thumb.rect.left, pressDistance_.x, zoom, thumb.scale);
    }
    if (view_.ScrollsVertically()) {
        next.y = FrameDragScroll(p.y, thumb.rect.top, pressDistance_.y, zoom, thumb.scale);
    }
    view_.ScrollTo(next);
    if (view_.ScrollPosition() != before) {
        view_.RepaintNow();
        Recompose();
        return;
    }
    // The frame is at an edge, or nothing scrolls: the drag moves the window from here.
    frameDrag_ = false;
    windowDrag_ = true;
    pressGlobal_ = mapToGlobal(QPoint(p.x, p.y));
    pressWindow_ = pos();
    setCursor(Qt::SizeAllCursor);
}

void CNaviDlg::WindowDrag(const QPoint& global) {
    if (global == pressGlobal_) {
        return;
    }
    const QPoint target = pressWindow_ + (global - pressGlobal_);
    const Point at = KeepOnScreen({target.x(), target.y()}, {width(), height()}, ScreenRect());
    move(at.x, at.y);
}

void CNaviDlg::Hover(Point p, bool ctrl) {
    const Rect frame = ViewFrame();
    if (model_.settings.zoomFactor != 8.0f) {
        if (!snapped_ && model_.settings.showGuide == 1) {
            statusBar_.SetGuide({});
        }
    } else if (!snapped_) {
        if (!ctrl && !frame.IsEmpty() && SnapsToFrameCentre(frame, p)) {
            const Point c = FrameCentre(frame);
            moveCursor(mapToGlobal(QPoint(c.x, c.y)));
            p = c;
            snapped_ = true;
            statusBar_.GuideText(texts::kGuideCursorHeld);
        }
        if (!snapped_ && model_.settings.showGuide == 1) {
            statusBar_.SetGuide({});
        }
    }
    if (!frame.IsEmpty() && frame.Contains(p.x, p.y)) {
        setCursor(Qt::PointingHandCursor);
        if (!animating_ && model_.settings.animationRings > 0 && frame != Thumbnail().rect) {
            if (const auto rings = StartNavigatorRings(
                    p, frame, ClampRingCount(model_.settings.animationRings), makeRandom())) {
                rings_ = *rings;
                animating_ = true;
                animationTimer_.start(kNavigatorAnimationPeriod);
            }
        }
        return;
    }
    snapped_ = false;
    LeaveFrame();
}

void CNaviDlg::LeaveFrame() {
    StopAnimation();
    setCursor(Qt::ArrowCursor);
}

void CNaviDlg::leaveEvent(QEvent* event) {
    QWidget::leaveEvent(event);
    if (!frameDrag_ && !windowDrag_) {
        snapped_ = false;
        LeaveFrame();
    }
}

void CNaviDlg::mouseMoveEvent(QMouseEvent* event) {
    const Point p = ToPoint(event->position());
    if (frameDrag_) {
        FrameDrag(p);
        return;
    }
    if (windowDrag_) {
        WindowDrag(event->globalPosition().toPoint());
        return;
    }
    if (!rect().contains(p.x, p.y)) {
        snapped_ = false;
        LeaveFrame();
        return;
    }
    Hover(p, (event->modifiers() & Qt::ControlModifier) != 0);
}

void CNaviDlg::mouseReleaseEvent(QMouseEvent* event) {
    const Point p = ToPoint(event->position());
    if (event->button() == Qt::RightButton) {
        if (rect().contains(p.x, p.y)) {
            StopAnimation();
            OpenMenu(p);
        }
        return;
    }
    if (event->button() != Qt::LeftButton) {
        return;
    }
    if (windowDrag_) {
        windowDrag_ = false;
        setCursor(Qt::ArrowCursor);
    } else {
        frameDrag_ = false;
    }
}

void CNaviDlg::mouseDoubleClickEvent(QMouseEvent* event) {
    const Point p = ToPoint(event->position());
    if (event->button() != Qt::LeftButton || ImageSize().width == 0 ||
        !Thumbnail().rect.Contains(p.x, p.y)) {
        return;
    }
    if (model_.settings.zoomFactor != 8.0f) {
        ZoomAt(p);
    } else {
        view_.SetZoom(1.0f);
        view_.SetZoomSliderPosition(2);
        view_.RepaintNow();
    }
}

void CNaviDlg::ZoomAt(Point p) {
    const NavigatorThumbnail thumb = Thumbnail();
    if (thumb.rect.IsEmpty()) {
        return;
    }
    const Point centre = NavigatorZoomCentre(p, thumb);
    view_.SetZoom(8.0f);
    view_.SetZoomSliderPosition(5);
    view_.CentreOn(centre);
}

void CNaviDlg::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        hide();
        if (hidden) {
            hidden();
        }
        return;
    }
    QWidget::keyPressEvent(event);
}

void CNaviDlg::OpenMenu(Point p) {
    contextPoint_ = p;
    QMenu menu;
    menu.setObjectName(ToQString(kMenuName));
    const std::string prefix = std::string(kMenuName) + "/";
    std::map<std::string_view, QMenu*> submenus;
    const float zoom = model_.settings.zoomFactor;
    const bool hasImage = ImageSize().width != 0;
    for (const CommandInfo& row : CommandTable()) {
        if (row.place != CommandPlace::None) {
            continue;
        }
        QMenu* target = nullptr;
        if (row.panel.source == kMenuName) {
            target = &menu;
        } else if (row.panel.source.starts_with(prefix)) {
            QMenu*& sub = submenus[row.panel.source];
            if (sub == nullptr) {
                sub = menu.addMenu(ToQString(PopupSubmenuLabel(row)));
            }
            target = sub;
        } else {
            continue;
        }
        if (row.breakBefore && !target->actions().isEmpty()) {
            target->addSeparator();
        }
        const int id = row.id;
        QAction* action = target->addAction(ToQString(row.label));
        action->setData(id);
        if (id == cmd::ID_ZOOM_HERE) {
            action->setEnabled(zoom != 8.0f && hasImage);
        } else if (id == cmd::ID_ZOOM_100_HERE) {
            action->setEnabled(zoom == 8.0f);
        } else if (id >= cmd::ID_ZOOM1 && id <= cmd::ID_ZOOM5) {
            action->setCheckable(true);
            action->setChecked(id == CheckedZoomItem(zoom));
        } else if (id == cmd::ID_NAVI_FIT_WIDTH || id == cmd::ID_NAVI_FIT_HEIGHT) {
            // Without an image there is no ratio to fit.
            action->setEnabled(hasImage);
        }
        connect(action, &QAction::triggered, this, [this, id] { OnMenuCommand(id); });
    }
    const QPoint global = mapToGlobal(QPoint(p.x, p.y));
    execMenu(menu, QPoint(global.x() - menu.sizeHint().width() / 2, global.y()));
}

void CNaviDlg::FitAspect(bool keepWidth) {
    const std::optional<Size> size = keepWidth
                                         ? AspectFitKeepingWidth({width(), height()}, ImageSize())
                                         : AspectFitKeepingHeight({width(), height()}, ImageSize());
    if (!size) {
        return;
    }
    resize(size->width, size->height);
    show();
}

void CNaviDlg::OnMenuCommand(int id) {
    switch (id) {
        case cmd::ID_ZOOM_HERE:
            if (model_.settings.zoomFactor != 8.0f) {
                ZoomAt(contextPoint_);
            }
            return;
        case cmd::ID_ZOOM_100_HERE:
            view_.SetZoom(1.0f);
            view_.SetZoomSliderPosition(2);
            view_.RepaintNow();
            return;
        case cmd::ID_NAVI_FIT_WIDTH:
            FitAspect(true);
            return;
        case cmd::ID_NAVI_FIT_HEIGHT:
            FitAspect(false);
            return;
        case cmd::ID_NAVI_LT:
            MoveToScreenCorner();
            show();
            return;
        case cmd::ID_NAVI_HIDE:
            hide();
            if (hidden) {
                hidden();
            }
            return;
        default:
            if (id >= cmd::ID_ZOOM1 && id <= cmd::ID_ZOOM5) {
                // The ribbon's slider stays where it is.
                view_.SetZoom(kZoomLevels[static_cast<std::size_t>(id - cmd::ID_ZOOM1)]);
            }
    }
}

}  // namespace palvex::ui
