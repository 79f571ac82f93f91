#include "mainwindow/ui/my_status_bar.h"

#include <QLabel>
#include <QPainter>
#include <QProgressBar>
#include <QThread>
#include <algorithm>

#include "app/ui/qt_text.h"
#include "mainwindow/ui/guide_pane.h"
#include "resources/command_ids.h"
#include "resources/string_table.h"
#include "resources/texts.h"

namespace palvex::ui {
namespace {

constexpr int kPaneMargin = 6;
constexpr int kSeparator = 2;

}  // namespace

CMyStatusBar::CMyStatusBar(const AppSettings& settings, QWidget* parent)
    : QStatusBar(parent),
      settings_(settings),
      look_(LookFor(cmd::ID_VIEW_APPLOOK_OFF_2007_BLACK)),
      progress_(new QProgressBar(this)),
      guide_(new GuidePane(this)) {
    setObjectName("CMyStatusBar");
    // The frame's Ctrl+Tab brings the keyboard here so that a screen reader can read the panes.
    setFocusPolicy(Qt::TabFocus);
    setAutoFillBackground(true);
    setMinimumHeight(24);
    blockingWait = [](int milliseconds) {
        QThread::msleep(static_cast<unsigned long>(milliseconds));
    };
    AddPane(cmd::ID_PANE_PROGRESS, "PROGRESS", texts::kProgressPaneSample, texts::kProgressPaneTip,
            Qt::AlignLeft | Qt::AlignVCenter);
    // The angle pane shows words: it must also hold the widest angle of the language.
    QStringList angles;
    for (int degrees = 1; degrees <= 360; ++degrees) {
        angles.push_back(ToQString(texts::kAngleFormat).arg(degrees));
    }
    AddPane(cmd::ID_PANE_ANGLE, "ANGLE", texts::kAnglePaneSample, texts::kAnglePaneTip,
            Qt::AlignCenter, angles);
    AddPane(cmd::ID_PANE_COLOR, "COLOR", texts::kColourPaneSample, texts::kColourPaneTip,
            Qt::AlignCenter);
    AddPane(cmd::ID_PANE_POS, "POS", texts::kPositionPaneSample, texts::kPositionPaneTip,
            Qt::AlignCenter);
    AddPane(cmd::ID_PANE_SIZE, "SIZE", texts::kSizePaneSample, texts::kSizePaneTip,
            Qt::AlignCenter);
    AddPane(cmd::ID_PANE_CURSOR, "CURSOR", texts::kCursorPaneSample, texts::kCursorPaneTip,
            Qt::AlignCenter);
    progress_->setObjectName("ProgressBar");
    progress_->setProperty("commandId", cmd::ID_PROGRESS_BAR);
    progress_->setTextVisible(false);
    progress_->setRange(0, 100);
    progress_->setValue(0);
    progress_->show();
    LayOut();
}

void CMyStatusBar::AddPane(int id, std::string_view name, std::string_view sample,
                           std::string_view tip, Qt::Alignment alignment,
                           const QStringList& shown) {
    auto* label = new QLabel(this);
    label->setObjectName(ToQString(name));
    label->setProperty("commandId", id);
    label->setAlignment(alignment);
    label->setToolTip(ToQString(tip));
    int text = fontMetrics().horizontalAdvance(ToQString(sample));
    for (const QString& one : shown) {
        text = std::max(text, fontMetrics().horizontalAdvance(one));
    }
    label->setFixedWidth(text + 2 * kPaneMargin);
    label->setContentsMargins(kPaneMargin / 2, 0, kPaneMargin / 2, 0);
    panes_.push_back({id, label});
}

std::vector<int> CMyStatusBar::PaneIds() const {
    std::vector<int> ids;
    for (const PaneInfo& pane : panes_) {
        ids.push_back(pane.id);
    }
    return ids;
}

QLabel* CMyStatusBar::Pane(int id) const {
    for (const PaneInfo& pane : panes_) {
        if (pane.id == id) {
            return pane.label;
        }
    }
    return nullptr;
}

QString CMyStatusBar::PaneText(int id) const {
    const QLabel* pane = Pane(id);
    return pane != nullptr ? pane->text() : QString();
}

void CMyStatusBar::SetPaneText(int id, const QString& text) {
    if (QLabel* pane = Pane(id)) {
        pane->setText(text);
        pane->repaint();
    }
}

void CMyStatusBar::LayOut() {
    int x = 2;
    const int h = height();
    for (const PaneInfo& pane : panes_) {
        pane.label->setGeometry(x, 1, pane.label->width(), h - 2);
        x += pane.label->width() + kSeparator;
    }
    if (const QLabel* holder = Pane(cmd::ID_PANE_PROGRESS)) {
        progress_->setGeometry(holder->geometry().adjusted(3, 4, -3, -4));
        progress_->raise();
    }
    guide_->setGeometry(rect());
    if (guide_->isVisible()) {
        guide_->raise();
    }
}

void CMyStatusBar::resizeEvent(QResizeEvent* event) {
    QStatusBar::resizeEvent(event);
    LayOut();
}

void CMyStatusBar::SetGuide(const QString& text) {
    guide_->SetText(text);
    guide_->repaint();
}

QString CMyStatusBar::Guide() const {
    return guide_->Text();
}

void CMyStatusBar::GuideHint(int stringId) {
    if (settings_.showGuide == 1) {
        SetGuide(ToQString(LoadString(stringId)));
    }
}

void CMyStatusBar::GuideText(std::string_view text) {
    if (settings_.showGuide == 1) {
        SetGuide(ToQString(text));
    }
}

void CMyStatusBar::RangeHint(int stringId) {
    if (settings_.showGuide == 1) {
        SetGuide(RangeHintText(stringId, settings_.flatDirection == 1));
    }
}

QString CMyStatusBar::RangeHintText(int stringId, bool horizontalFlattening) {
    QString text = ToQString(LoadString(stringId));
    if (!horizontalFlattening) {
        return text;
    }
    const QString vertical = ToQString(texts::kVertical);
    const QString horizontal = ToQString(texts::kHorizontal);
    // The two drag axes swap, so the direction the hint names swaps too.
    if (text.contains(vertical)) {
        text.replace(vertical, horizontal);
    } else {
        text.replace(horizontal, vertical);
    }
    return text;
}

QString CMyStatusBar::SwitchNoticeText(int stringId, bool on, std::string_view onWord,
                                       std::string_view offWord) {
    QString text = ToQString(LoadString(stringId));
    if (!on) {
        text.replace(ToQString(onWord), ToQString(offWord));
    }
    return text;
}

void CMyStatusBar::FlashMessage(int stringId, bool on, std::string_view onWord,
                                std::string_view offWord) {
    SetGuide(SwitchNoticeText(stringId, on, onWord, offWord));
    blockingWait(1000);
    SetGuide({});
}

void CMyStatusBar::SetProgressRange(int n) {
    progress_->setRange(0, std::clamp(n, 0, 0xFFFF));
    paintedProgress_ = {-1, -1};
}

void CMyStatusBar::SetProgressPosition(int position) {
    progress_->setValue(std::clamp(position, progress_->minimum(), progress_->maximum()));
    const long long done = progress_->value() - progress_->minimum();
    const long long range = std::max(1, progress_->maximum() - progress_->minimum());
    const std::pair<int, int> shown{static_cast<int>(done * progress_->width() / range),
                                    static_cast<int>(done * 100 / range)};
    if (shown != paintedProgress_) {
        paintedProgress_ = shown;
        progress_->repaint();
    }
}

void CMyStatusBar::ResetProgress() {
    progress_->setValue(0);
    paintedProgress_ = {0, 0};
    progress_->repaint();
}

void CMyStatusBar::ShowImageInfo(const Rect& rect) {
    SetPaneText(cmd::ID_PANE_POS, QString("%1,%2").arg(rect.left).arg(rect.top));
    SetPaneText(cmd::ID_PANE_SIZE,
                ToQString(texts::kSizeFormat).arg(rect.Width()).arg(rect.Height()));
    SetPaneText(cmd::ID_PANE_ANGLE, {});
}

void CMyStatusBar::ApplyLook(const RibbonLook& look) {
    look_ = look;
    for (const PaneInfo& pane : panes_) {
        QPalette colours = pane.label->palette();
        colours.setColor(QPalette::WindowText, look.statusText);
        pane.label->setPalette(colours);
    }
    update();
    guide_->update();
}

void CMyStatusBar::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    QLinearGradient fill(0, 0, 0, height());
    fill.setColorAt(0, look_.statusTop);
    fill.setColorAt(1, look_.statusBottom);
    painter.fillRect(rect(), fill);
    painter.setPen(look_.statusSeparator);
    painter.drawLine(0, 0, width(), 0);
    for (const PaneInfo& pane : panes_) {
        const int x = pane.label->geometry().right() + 1;
        painter.setPen(look_.statusSeparator);
        painter.drawLine(x, 4, x, height() - 4);
        painter.setPen(look_.statusTop.lighter(115));
        painter.drawLine(x + 1, 4, x + 1, height() - 4);
    }
    if (hasFocus()) {
        painter.setPen(QPen(look_.statusText, 1, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(rect().adjusted(1, 2, -2, -2));
    }
}

void CMyStatusBar::focusInEvent(QFocusEvent* event) {
    update();
    guide_->update();
    QStatusBar::focusInEvent(event);
}

void CMyStatusBar::focusOutEvent(QFocusEvent* event) {
    update();
    guide_->update();
    QStatusBar::focusOutEvent(event);
}

}  // namespace palvex::ui
