#include "canvas/ui/vemmar_view.h"

#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QThread>
#include <QUrl>
#include <algorithm>

#include "app/app_settings.h"
#include "app/ui/qt_text.h"
#include "canvas/canvas_mapping.h"
#include "image/alpha_flatten.h"
#include "image/codecs/decoder.h"
#include "image/file_bytes.h"
#include "image/save_format.h"
#include "resources/command_ids.h"
#include "resources/command_table.h"
#include "resources/string_table.h"
#include "resources/texts.h"
#include "tools/ui/canvas_input.h"

namespace palvex::ui {
namespace {

QImage Wrap(Bitmap& bitmap) {
    return QImage(reinterpret_cast<uchar*>(bitmap.Data()), bitmap.Width(), bitmap.Height(),
                  static_cast<qsizetype>(bitmap.Stride()), QImage::Format_RGB32);
}

// In the see-through mode every window pixel of exactly the neutral colour lets the desktop
// show; the window is translucent and those pixels are painted with alpha 0.
QImage WithNeutralCleared(const QImage& frame) {
    QImage out = frame.convertToFormat(QImage::Format_ARGB32);
    const QRgb neutral =
        qRgb(RedOf(kNeutralColour), GreenOf(kNeutralColour), BlueOf(kNeutralColour));
    for (int y = 0; y < out.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            if (row[x] == neutral) {
                row[x] = 0;
            }
        }
    }
    return out;
}

}  // namespace

CVemmarView::CVemmarView(EditorModel& model, SettingsStore& store, Prompter& prompter,
                         const WorkFolder& workFolder, QWidget* parent)
    : QAbstractScrollArea(parent),
      model_(model),
      store_(store),
      prompter_(prompter),
      workFolder_(workFolder) {
    setObjectName("CVemmarView");
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    setFrameShape(QFrame::NoFrame);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setAttribute(Qt::WA_NoSystemBackground);
    // The readouts and the tools' feedback follow the pointer with no button held.
    viewport()->setMouseTracking(true);
    blockingWait = [](int milliseconds) { QThread::msleep(static_cast<unsigned>(milliseconds)); };
    history_ = std::make_unique<SnapshotHistory>(model_.image, workFolder_, prompter_);
    sliderPosition_ = palvex::ZoomSliderPosition(model_.settings.zoomFactor);
}

bool CVemmarView::Create() {
    // One buffer the size of the screen, so that resizing the window never reallocates it.
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize size = screen != nullptr ? screen->virtualSize() : QSize(1920, 1080);
    if (!EnsureScreenBuffer({size.width(), size.height()})) {
        prompter_.Error(str::kMemoryAllocationFailed, "MakeMemDC\n");
        return false;
    }
    tiles_.checker = MakeCheckerTile();
    tiles_.icon = MakeIconTile();
    if (tiles_.checker.IsNull() || tiles_.icon.IsNull()) {
        return false;
    }
    model_.settings.backgroundImage = setting::kBkImage.Read(store_);
    const std::string& stored = model_.settings.backgroundImage;
    if (stored.empty() || !LoadFreeBackground(std::u8string(stored.begin(), stored.end()))) {
        model_.settings.backgroundImage.clear();
        setting::kBkImage.Write(store_, "");
    }
    UpdateScrollBars();
    return true;
}

bool CVemmarView::EnsureScreenBuffer(Size client) {
    if (!screenBuffer_.IsNull() && screenBuffer_.Width() >= client.width &&
        screenBuffer_.Height() >= client.height) {
        return true;
    }
    const int width = std::max({client.width, screenBuffer_.Width(), 1});
    const int height = std::max({client.height, screenBuffer_.Height(), 1});
    fullRedraw_ = true;
    return screenBuffer_.Create(width, height);
}

Size CVemmarView::ClientSize() const {
    return {viewport()->width(), viewport()->height()};
}

// The bars follow their ranges only once the event loop lays the view out again, so the client
// size must be worked out for the extent, not read from the viewport.
Size CVemmarView::ClientSizeFor(Size extent) const {
    const QSize area = maximumViewportSize();
    const bool overlaid = style()->styleHint(QStyle::SH_ScrollBar_Transient, nullptr, this) != 0;
    const Size bars = overlaid ? Size{}
                               : Size{verticalScrollBar()->sizeHint().width(),
                                      horizontalScrollBar()->sizeHint().height()};
    return ScrollLayoutFor({area.width(), area.height()}, extent, bars).client;
}

Size CVemmarView::Extent() const {
    const ImageState& image = model_.image;
    return image.WorkImage.IsNull()
               ? Size{}
               : ScrollExtent(image.width, image.height, model_.settings.zoomFactor);
}

Point CVemmarView::ScrollPosition() const {
    return {horizontalScrollBar()->value(), verticalScrollBar()->value()};
}

CanvasMapping CVemmarView::Mapping() const {
    return {model_.settings.zoomFactor, ScrollPosition()};
}

void CVemmarView::UpdateScrollBars() {
    const Size extent = Extent();
    const ScrollSteps steps = ScrollStepsFor(extent);
    const Size client = ClientSizeFor(extent);
    horizontalScrollBar()->setRange(0, std::max(0, extent.width - client.width));
    verticalScrollBar()->setRange(0, std::max(0, extent.height - client.height));
    horizontalScrollBar()->setPageStep(std::max(1, steps.page.width));
    verticalScrollBar()->setPageStep(std::max(1, steps.page.height));
    horizontalScrollBar()->setSingleStep(std::max(1, steps.line.width));
    verticalScrollBar()->setSingleStep(std::max(1, steps.line.height));
}

void CVemmarView::RepaintNow() {
    if (dirtyRect_.IsEmpty()) {
        fullRedraw_ = true;
        viewport()->repaint();
        return;
    }
    const Rect zoomed = ZoomedRect(dirtyRect_, model_.settings.zoomFactor);
    const Point scroll = ScrollPosition();
    viewport()->repaint(zoomed.left - scroll.x, zoomed.top - scroll.y, zoomed.Width(),
                        zoomed.Height());
}

void CVemmarView::ImageReplaced() {
    dirtyRect_ = {};
    UpdateScrollBars();
    emit ImageReplacedSignal();
    RepaintNow();
}

bool CVemmarView::ScrollsHorizontally() const {
    return horizontalScrollBar()->maximum() > 0;
}

bool CVemmarView::ScrollsVertically() const {
    return verticalScrollBar()->maximum() > 0;
}

void CVemmarView::ScrollTo(Point position) {
    horizontalScrollBar()->setValue(position.x);
    verticalScrollBar()->setValue(position.y);
}

void CVemmarView::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    const Size client = ClientSize();
    const QColor neutral(RedOf(kNeutralColour), GreenOf(kNeutralColour), BlueOf(kNeutralColour));
    const ImageState& image = model_.image;
    if (image.WorkImage.IsNull() || !EnsureScreenBuffer(client)) {
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.fillRect(event->rect(), seeThrough_ ? QColor(Qt::transparent) : neutral);
        return;
    }
    const Point scroll = ScrollPosition();
    const float zoom = model_.settings.zoomFactor;
    // Putting back or drawing pointer feedback needs only the frame the buffer holds.
    const bool frameOnly = overlayRepaint_ && !fullRedraw_ && dirtyRect_.IsEmpty();
    if (!frameOnly) {
        // A partial redraw keeps the rest of the buffer, which still holds the previous frame.
        const Rect dirty = fullRedraw_ ? Rect{} : dirtyRect_;
        Rect drawn =
            DrawImageLayer(screenBuffer_, scroll, {image.WorkImage, image.TransparentColor, zoom},
                           dirty, model_.settings.backgroundMode, tiles_);
        if (dirty.IsEmpty()) {
            FillBeyondImage(screenBuffer_, scroll, ScrollExtent(image.width, image.height, zoom),
                            client);
            drawn = {0, 0, client.width, client.height};
        }
        // The barrier and the selection belong to the frame, so feedback erased by copying the
        // frame back leaves them in place.
        if (input_ != nullptr && !drawn.IsEmpty()) {
            QImage target = Wrap(screenBuffer_);
            QPainter decorations(&target);
            decorations.setClipRect(QRect(drawn.left, drawn.top, drawn.Width(), drawn.Height()));
            input_->Hooks().PaintOnFrame(decorations, drawn);
        }
        dirtyRect_ = {};
        fullRedraw_ = false;
        emit ImageLayerRepainted();
    }

    const QRect exposed = event->rect().intersected(QRect(0, 0, client.width, client.height));
    const QImage frame = Wrap(screenBuffer_);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    // Straight from the buffer: a copy of the frame is a fresh allocation, whose first touch
    // costs more than the copy itself.
    if (seeThrough_) {
        painter.drawImage(exposed.topLeft(), WithNeutralCleared(frame.copy(exposed)));
    } else {
        painter.drawImage(exposed.topLeft(), frame, exposed);
    }
    if (!overlayRect_.IsEmpty() && overlayPaint_) {
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
        painter.setClipRect(exposed);
        overlayPaint_(painter);
    }
}

void CVemmarView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    ErasePointerOverlay();
    UpdateScrollBars();
    fullRedraw_ = true;
}

void CVemmarView::scrollContentsBy(int /*dx*/, int /*dy*/) {
    ErasePointerOverlay();
    dirtyRect_ = {};
    fullRedraw_ = true;
    viewport()->update();
}

void CVemmarView::wheelEvent(QWheelEvent* event) {
    if (input_ != nullptr && input_->Wheel(event)) {
        event->accept();
        return;
    }
    // The default handling scrolls only when neither Ctrl nor Shift is held.
    if (event->modifiers() & (Qt::ControlModifier | Qt::ShiftModifier)) {
        event->accept();
    } else {
        QAbstractScrollArea::wheelEvent(event);
    }
    if (input_ != nullptr) {
        input_->AfterDefaultWheel();
    }
}

void CVemmarView::mouseMoveEvent(QMouseEvent* event) {
    if (input_ != nullptr) {
        input_->MouseMove(event);
    }
}

void CVemmarView::mousePressEvent(QMouseEvent* event) {
    if (input_ != nullptr) {
        input_->MousePress(event);
    }
}

void CVemmarView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (input_ != nullptr) {
        input_->MouseDoubleClick(event);
    }
}

void CVemmarView::mouseReleaseEvent(QMouseEvent* event) {
    if (input_ != nullptr) {
        input_->MouseRelease(event);
    }
}

bool CVemmarView::viewportEvent(QEvent* event) {
    if (event->type() == QEvent::Leave && input_ != nullptr) {
        input_->Leave();
    }
    return QAbstractScrollArea::viewportEvent(event);
}

void CVemmarView::contextMenuEvent(QContextMenuEvent* event) {
    // The menu opens at the right button's release, by tool mode (the canvas input).
    event->accept();
}

void CVemmarView::keyPressEvent(QKeyEvent* event) {
    if (input_ != nullptr) {
        input_->KeyPress(event);
    }
    // No keyboard scrolling: the arrows belong to the selection and the barrier.
    QWidget::keyPressEvent(event);
}

bool CVemmarView::focusNextPrevChild(bool /*next*/) {
    return false;  // Tab turns the selected side instead of moving the focus
}

void CVemmarView::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) {
        event->acceptProposedAction();
    }
}

void CVemmarView::dropEvent(QDropEvent* event) {
    QStringList paths;
    for (const QUrl& url : event->mimeData()->urls()) {
        if (url.isLocalFile()) {
            paths << url.toLocalFile();
        }
    }
    if (!paths.isEmpty()) {
        event->acceptProposedAction();
        emit FilesDropped(paths);
    }
}

void CVemmarView::SetZoom(float factor) {
    if (factor == model_.settings.zoomFactor) {
        return;
    }
    ErasePointerOverlay();
    model_.settings.zoomFactor = factor;
    UpdateScrollBars();
    dirtyRect_ = {};
    RepaintNow();
}

void CVemmarView::SetZoomSliderPosition(int position) {
    if (position != sliderPosition_) {
        sliderPosition_ = position;
        emit ZoomSliderMoved(position);
    }
}

void CVemmarView::ZoomAt(Point client, float factor) {
    const Point q = Mapping().WindowToImage(client);
    SetZoom(factor);
    SetZoomSliderPosition(palvex::ZoomSliderPosition(factor));
    CentreOn({static_cast<int>(static_cast<float>(q.x) * factor),
              static_cast<int>(static_cast<float>(q.y) * factor)});
}

void CVemmarView::CentreOn(Point zoomed) {
    const Size extent = Extent();
    if (const auto target = CentreOnTarget(zoomed, ClientSizeFor(extent), extent)) {
        horizontalScrollBar()->setValue(target->x);
        verticalScrollBar()->setValue(target->y);
    }
}

void CVemmarView::SetBackgroundMode(std::int32_t mode, bool seeThrough) {
    model_.settings.backgroundMode = mode;
    if (seeThrough != seeThrough_) {
        seeThrough_ = seeThrough;
        emit SeeThroughChanged(seeThrough);
    }
    dirtyRect_ = {};
    RepaintNow();
}

void CVemmarView::TestTransparency() {
    const std::int32_t saved = model_.settings.backgroundMode;
    SetBackgroundMode(kBackgroundNone, true);
    blockingWait(3000);
    SetBackgroundMode(saved, false);
}

bool CVemmarView::LoadFreeBackground(const std::filesystem::path& path) {
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) {
        return false;
    }
    const FileBytes file = ReadWholeFile(path);
    if (file.status != ReadStatus::Ok) {
        return false;
    }
    DecodedImage decoded = DecodeImage(file.bytes.Span());
    if (!decoded.Ok()) {
        return false;
    }
    MakeOpaque(decoded.pixels);
    tiles_.picture = std::move(decoded.pixels);
    return true;
}

void CVemmarView::ChangeFreeBackground() {
    const std::optional<SaveFileChoice> chosen =
        prompter_.AskOpenFile({std::string(texts::kOpenDialogTitle), OpenFormatFilters(), 1});
    if (!chosen) {
        return;
    }
    const std::string chosenText = ToStdString(PathToQString(chosen->path));
    const std::size_t dot = chosenText.rfind('.');
    if (dot == std::string::npos) {
        return;
    }
    const std::filesystem::path folder = workFolder_.GetWorkFolder({}, prompter_);
    if (folder.empty()) {
        return;
    }
    const std::string extension = chosenText.substr(dot);
    std::filesystem::path target = folder;
    target /= std::u8string(u8"BkImage") + std::u8string(extension.begin(), extension.end());
    model_.settings.backgroundImage.clear();
    std::error_code ec;
    // Choosing the copy itself must not delete it by copying it onto itself.
    const bool same = std::filesystem::equivalent(chosen->path, target, ec);
    const bool copied =
        same || std::filesystem::copy_file(chosen->path, target,
                                           std::filesystem::copy_options::overwrite_existing, ec);
    if (!copied || !LoadFreeBackground(target)) {
        tiles_.picture.Reset();
        setting::kBkImage.Write(store_, "");
        prompter_.Error(str::kBackgroundImageFailed);
        return;
    }
    const std::string targetText = PathText(target);
    model_.settings.backgroundImage = targetText;
    setting::kBkImage.Write(store_, targetText);
    SetBackgroundMode(kBackgroundPicture, false);
}

void CVemmarView::DrawPointerOverlay(const Rect& rect, std::function<void(QPainter&)> paint) {
    ErasePointerOverlay();
    overlayRect_ = rect;
    overlayPaint_ = std::move(paint);
    overlayRepaint_ = true;
    viewport()->repaint(rect.left, rect.top, rect.Width(), rect.Height());
    overlayRepaint_ = false;
}

bool CVemmarView::PushImageSnapshot(const Rect& imageRect) {
    return history_ == nullptr || history_->PushImageSnapshot(imageRect);
}

void CVemmarView::SetHistory(std::unique_ptr<EditHistory> history) {
    history_ = std::move(history);
}

void CVemmarView::ResetHistory() {
    if (history_ != nullptr) {
        history_->Reset();
    }
}

void CVemmarView::WaitForHistoryWrites() {
    if (history_ != nullptr) {
        history_->WaitForWrites();
    }
}

void CVemmarView::UndoOrRedo(bool undo) {
    if (history_ == nullptr) {
        return;
    }
    ForgetPointerOverlay();
    if (input_ != nullptr) {
        input_->EndForHistory();
    }
    if (QWidget* grabber = QWidget::mouseGrabber(); grabber == viewport() || grabber == this) {
        grabber->releaseMouse();
    }
    const ImageState& image = model_.image;
    const Size before{image.width, image.height};
    if (!(undo ? history_->Undo() : history_->Redo())) {
        return;
    }
    if (before != Size{image.width, image.height}) {
        UpdateScrollBars();
        emit ImageResized();
    }
    // Marked modified, so that closing after an undo still asks to save.
    emit ImageEdited({});
}

void CVemmarView::ErasePointerOverlay() {
    if (!overlayRect_.IsEmpty()) {
        const Rect r = overlayRect_;
        overlayRect_ = {};
        overlayRepaint_ = true;
        viewport()->repaint(r.left, r.top, r.Width(), r.Height());
        overlayRepaint_ = false;
    }
}

QImage CVemmarView::Rendered() {
    // Rendered over transparency, so that see-through pixels keep their alpha of 0.
    QImage image(viewport()->size(), QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    viewport()->render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

bool CVemmarView::OnCommand(int id) {
    switch (id) {
        case cmd::ID_UNDO:
            UndoOrRedo(true);
            return true;
        case cmd::ID_REDO:
            UndoOrRedo(false);
            return true;
        case cmd::ID_ZOOM_HERE:
            ZoomAt(contextPoint_, 8.0f);
            return true;
        case cmd::ID_ZOOM_100_HERE:
            ZoomAt(contextPoint_, 1.0f);
            return true;
        default:
            return false;
    }
}

bool CVemmarView::OnUpdateCommand(int id, CommandUiState& state) {
    switch (id) {
        case cmd::ID_UNDO:
            state.enabled = history_ != nullptr && history_->UndoCount() > 0;
            return true;
        case cmd::ID_REDO:
            state.enabled = history_ != nullptr && history_->RedoCount() > 0;
            return true;
        case cmd::ID_ZOOM_HERE:
            state.enabled = !model_.image.WorkImage.IsNull() && model_.settings.zoomFactor != 8.0f;
            return true;
        case cmd::ID_ZOOM_100_HERE:
            state.enabled = !model_.image.WorkImage.IsNull();
            return true;
        default:
            return false;
    }
}

}  // namespace palvex::ui
