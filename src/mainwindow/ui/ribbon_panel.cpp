#include "mainwindow/ui/ribbon_panel.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QVBoxLayout>
#include <algorithm>

#include "mainwindow/ui/ribbon_look.h"
#include "mainwindow/ui/ribbon_paint.h"

namespace palvex::ui {
namespace {

constexpr int kCaptionHeight = 17;
constexpr int kUsualTextHeight = 14;
constexpr int kSmallPerColumn = 3;

}  // namespace

int RibbonPanel::CaptionHeight(const QFontMetrics& metrics) {
    return std::max(kCaptionHeight, metrics.height() + 3);
}

int RibbonPanel::ExtraBodyHeight(const QFontMetrics& metrics) {
    // A large button holds two lines of label; the caption grows with its one line.
    return 2 * std::max(0, metrics.height() - kUsualTextHeight) + CaptionHeight(metrics) -
           kCaptionHeight;
}

RibbonPanel::RibbonPanel(const QString& title, int index, QWidget* parent)
    : QWidget(parent), title_(title), index_(index), columns_(new QHBoxLayout) {
    setObjectName(QString("panel:%1").arg(title));
    setMouseTracking(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 3, 4, CaptionHeight(fontMetrics()) + 2);
    layout->setSpacing(0);
    columns_->setSpacing(2);
    columns_->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(columns_);
}

QSize RibbonPanel::minimumSizeHint() const {
    QSize size = QWidget::minimumSizeHint();
    size.setWidth(std::max(size.width(), fontMetrics().horizontalAdvance(title_) + 16));
    return size;
}

QSize RibbonPanel::sizeHint() const {
    return QWidget::sizeHint().expandedTo(minimumSizeHint());
}

QVBoxLayout* RibbonPanel::NewColumn() {
    column_ = new QVBoxLayout;
    column_->setSpacing(1);
    column_->setContentsMargins(0, 0, 0, 0);
    columns_->addLayout(column_);
    smallInColumn_ = 0;
    return column_;
}

void RibbonPanel::AddLarge(QWidget* element) {
    NewColumn()->addWidget(element, 0, Qt::AlignTop);
    column_->addStretch();
    columnIsLarge_ = true;
    elements_.push_back(element);
}

void RibbonPanel::AddSmall(QWidget* element, bool newColumn) {
    if (column_ == nullptr || columnIsLarge_ || newColumn || smallInColumn_ == kSmallPerColumn) {
        NewColumn();
        column_->addStretch();
        columnIsLarge_ = false;
    }
    // Before the column's closing stretch, so the stack keeps to the top.
    column_->insertWidget(column_->count() - 1, element, 0, Qt::AlignLeft);
    ++smallInColumn_;
    elements_.push_back(element);
}

void RibbonPanel::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const RibbonLook& look = LookOf(this);
    const QRect body = rect().adjusted(1, 1, -1, -1);
    const int captionHeight = CaptionHeight(fontMetrics());
    const QRect caption(body.left(), body.bottom() - captionHeight + 1, body.width(),
                        captionHeight);
    if (look.TabButton()) {
        // Flat panels: a separator line at the right, the caption text alone.
        painter.setPen(look.panelBorder);
        painter.drawLine(width() - 1, 4, width() - 1, height() - 4);
    } else {
        PaintBox(painter, body, look.panelTop, look.panelBottom, look.panelBorder, look, 3);
        PaintBox(painter, caption.adjusted(1, 0, -1, -1), look.panelCaption,
                 look.panelCaption.darker(104), QColor(), look, 2);
    }
    painter.setPen(look.panelCaptionText);
    painter.drawText(caption, Qt::AlignCenter, title_);
}

}  // namespace palvex::ui
