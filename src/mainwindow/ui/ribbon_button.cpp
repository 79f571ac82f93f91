#include "mainwindow/ui/ribbon_button.h"

#include <QAction>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

#include "app/ui/qt_text.h"
#include "mainwindow/ui/ribbon_accessible.h"
#include "mainwindow/ui/ribbon_look.h"
#include "mainwindow/ui/ribbon_paint.h"

namespace palvex::ui {
namespace {

constexpr int kSmallHeight = 22;
constexpr int kArrowWidth = 12;
constexpr int kEntryArrowWidth = 22;

}  // namespace

RibbonButton::RibbonButton(const CommandInfo& row, QAction* action, Style style, QWidget* parent)
    : QAbstractButton(parent), row_(row), action_(action), style_(style) {
    setObjectName(ToQString(row.name));
    setProperty("commandId", row.id);
    // Reached by Tab only: a click leaves the keyboard where it was (the canvas keeps its keys).
    setFocusPolicy(Qt::TabFocus);
    setMouseTracking(true);
    setAttribute(Qt::WA_Hover);
    setToolTip(PromptToolTip(row.prompt, ToQString(row.label)));
    if (action_ != nullptr) {
        connect(action_, &QAction::changed, this, &RibbonButton::SyncFromAction);
        SyncFromAction();
    } else {
        NameAfterCommand(this, row_, Label());
    }
    connect(this, &QAbstractButton::clicked, this, [this] { RunCommand(); });
}

void RibbonButton::SetMenu(QMenu* menu) {
    if (menu_ != nullptr) {
        menu_->removeEventFilter(this);
    }
    menu_ = menu;
    if (menu_ != nullptr) {
        menu_->installEventFilter(this);  // the items' enabled states decide ours too
    }
    SyncFromAction();
    updateGeometry();
}

void RibbonButton::SetArrow(bool on) {
    arrow_ = on;
    updateGeometry();
    update();
}

bool RibbonButton::HasArrow() const {
    return arrow_ || menu_ != nullptr || row_.kind == CommandKind::ColourButton ||
           row_.kind == CommandKind::Gallery;
}

bool RibbonButton::OpensOnPress() const {
    return row_.kind == CommandKind::MenuButton || row_.kind == CommandKind::Gallery;
}

QString RibbonButton::Label() const {
    if (row_.label.empty()) {
        return DisplayText(text());
    }
    return DisplayText(action_ != nullptr ? action_->text() : ToQString(row_.label));
}

QKeySequence RibbonButton::AccessKey() const {
    const QString label = row_.label.empty() || action_ == nullptr
                              ? (row_.label.empty() ? text() : ToQString(row_.label))
                              : action_->text();
    return QKeySequence::mnemonic(label);
}

void RibbonButton::SetPicture(const QIcon& picture) {
    picture_ = picture;
    updateGeometry();
    update();
}

void RibbonButton::SetDescription(const QString& text) {
    description_ = text;
    updateGeometry();
    update();
}

void RibbonButton::SyncFromAction() {
    if (action_ == nullptr) {
        return;
    }
    commandEnabled_ = action_->isEnabled();
    checked_ = action_->isChecked();
    // A label that changes with the state ("60秒", "追加 終了") renames the button too.
    NameAfterCommand(this, row_, Label());
    // A split button stays usable while one of its items is; the others, colour buttons
    // included, follow their command.
    setEnabled(commandEnabled_ || (menu_ != nullptr && !OpensOnPress() &&
                                   row_.kind != CommandKind::ColourButton && AnyItemEnabled()));
    updateGeometry();
    update();
}

bool RibbonButton::AnyItemEnabled() const {
    // Headings are disabled actions and separators choose nothing.
    const QList<QAction*> items = menu_->actions();
    return std::any_of(items.begin(), items.end(), [](const QAction* item) {
        return !item->isSeparator() && item->isEnabled();
    });
}

bool RibbonButton::eventFilter(QObject* watched, QEvent* event) {
    if (watched == menu_ &&
        (event->type() == QEvent::ActionAdded || event->type() == QEvent::ActionChanged ||
         event->type() == QEvent::ActionRemoved)) {
        SyncFromAction();
    }
    return QAbstractButton::eventFilter(watched, event);
}

void RibbonButton::RunCommand() {
    if (OpensOnPress()) {
        ShowMenu();
        return;
    }
    if (action_ != nullptr && commandEnabled_) {
        emit AboutToRun();
        action_->trigger();
    }
}

void RibbonButton::ShowMenu() {
    emit ArrowEntered();
    if (menu_ == nullptr) {
        return;
    }
    menuOpen_ = true;
    update();
    const QPoint below = style_ == Style::MenuEntry ? rect().topRight() : rect().bottomLeft();
    menu_->exec(mapToGlobal(below));
    menuOpen_ = false;
    setDown(false);
    update();
}

QRect RibbonButton::ArrowRect() const {
    if (!HasArrow()) {
        return {};
    }
    if (OpensOnPress()) {
        return rect();
    }
    switch (style_) {
        case Style::Large:
            return QRect(0, PictureRect().bottom() + 3, width(), height());
        case Style::MenuEntry:
            return QRect(width() - kEntryArrowWidth, 0, kEntryArrowWidth, height());
        default:
            return QRect(width() - kArrowWidth, 0, kArrowWidth, height());
    }
}

QRect RibbonButton::PictureRect() const {
    switch (style_) {
        case Style::Large:
            return QRect((width() - 32) / 2, 3, 32, 32);
        case Style::MenuEntry:
            return QRect(6, (height() - 32) / 2, 32, 32);
        case Style::IconOnly:
            return QRect(3, (height() - 16) / 2, 16, 16);
        case Style::Small:
            return QRect(3, (height() - 16) / 2, 16, 16);
        case Style::Group:
            return {};
    }
    return {};
}

QSize RibbonButton::sizeHint() const {
    const QFontMetrics metrics = fontMetrics();
    const QString label = Label();
    const bool arrow = HasArrow();
    switch (style_) {
        case Style::Large: {
            const QStringList lines = LargeLabelLines(label, metrics);
            int width = 32;
            for (const QString& line : lines) {
                width = std::max(width, metrics.horizontalAdvance(line) + (arrow ? 12 : 0));
            }
            return {width + 10, 3 + 32 + 3 + 2 * metrics.height() + 4};
        }
        case Style::Small: {
            // The picture's room is kept even before a picture is set: option buttons get
            // theirs from the set-up, when a hidden tab would not lay itself out again.
            int width = 3 + 16 + 4;
            width += label.isEmpty() ? 0 : metrics.horizontalAdvance(label) + 5;
            return {width + (arrow ? kArrowWidth : 0), kSmallHeight};
        }
        case Style::IconOnly:
            return {22 + (arrow ? kArrowWidth - 2 : 0), kSmallHeight};
        case Style::Group:
            return {metrics.horizontalAdvance(label) + 14, kSmallHeight};
        case Style::MenuEntry: {
            QFont bold = font();
            bold.setBold(!description_.isEmpty());
            const int text = std::max(QFontMetrics(bold).horizontalAdvance(label),
                                      metrics.horizontalAdvance(description_));
            return {std::max(240, 52 + text + (arrow ? kEntryArrowWidth + 8 : 8)),
                    description_.isEmpty() ? 42 : 48};
        }
    }
    return {};
}

QColor RibbonButton::TextColour() const {
    const RibbonLook& look = LookOf(this);
    // A split button whose own command is off shows it off; its arrow still opens the items.
    if (!isEnabled() || (!commandEnabled_ && !OpensOnPress())) {
        return look.disabledText;
    }
    // Buttons of the quick access row, the tab row and the application menu's foot sit on the
    // caption colour, not on a panel.
    const bool onCaption = style_ == Style::IconOnly || row_.kind == CommandKind::FootButton;
    return onCaption && !underMouse() ? look.tabText : look.text;
}

void RibbonButton::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const RibbonLook& look = LookOf(this);
    const bool hover = underMouse() && isEnabled();
    const QRect arrow = ArrowRect();
    if (style_ == Style::Group) {
        PaintGroup(painter);
        PaintFocus(painter);
        return;
    }
    if (menuOpen_ || (isDown() && !OpensOnPress())) {
        PaintHighlight(painter, rect(), look, FillState::Pressed);
    } else if (checked_ && !(style_ == Style::IconOnly && HasArrow())) {
        // A tab-row button with items only opens them; its command's check shows there.
        PaintHighlight(painter, rect(), look, hover ? FillState::CheckedHover : FillState::Checked);
    } else if (hover) {
        PaintHighlight(painter, rect(), look, FillState::Hover);
        if (!arrow.isEmpty() && arrow != rect()) {
            // A split button shows which of its two parts the pointer is on: the other part
            // is paler.
            QRect other = arrow;
            if (overArrow_) {
                other = style_ == Style::Large ? QRect(0, 0, width(), arrow.top())
                                               : QRect(0, 0, arrow.left(), height());
            }
            painter.fillRect(other.adjusted(1, 1, -1, -1), QColor(255, 255, 255, 110));
            painter.setPen(look.hoverBorder);
            if (style_ == Style::Large) {
                painter.drawLine(1, arrow.top(), width() - 2, arrow.top());
            } else {
                painter.drawLine(arrow.left(), 1, arrow.left(), height() - 2);
            }
        }
    }
    switch (style_) {
        case Style::Large:
            PaintLarge(painter);
            break;
        case Style::MenuEntry:
            PaintEntry(painter);
            break;
        default:
            PaintSmall(painter);
            break;
    }
    PaintFocus(painter);
}

void RibbonButton::PaintFocus(QPainter& painter) {
    if (!hasFocus()) {
        return;
    }
    // Only the keyboard gives these buttons the focus, so it always shows, as a solid frame in
    // the selection colour: a dotted line is lost on the ribbon's pictures.
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(
        QPen(palette().color(QPalette::Highlight), 2, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(rect()).adjusted(2, 2, -2, -2));
    painter.restore();
}

void RibbonButton::keyPressEvent(QKeyEvent* event) {
    const Qt::KeyboardModifiers modifiers =
        event->modifiers() & ~(Qt::KeypadModifier | Qt::AltModifier);
    // An entry of the application menu lists its items at its right; elsewhere they drop down.
    const int openKey = style_ == Style::MenuEntry ? Qt::Key_Right : Qt::Key_Down;
    if (modifiers == Qt::NoModifier && event->key() == openKey && HasArrow()) {
        ShowMenu();
        return;
    }
    if (event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier) {
        if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
            if (isEnabled()) {
                click();
            }
            return;
        }
    }
    QAbstractButton::keyPressEvent(event);
}

void RibbonButton::focusInEvent(QFocusEvent* event) {
    update();
    QAbstractButton::focusInEvent(event);
}

void RibbonButton::focusOutEvent(QFocusEvent* event) {
    update();
    QAbstractButton::focusOutEvent(event);
}

void RibbonButton::PaintPicture(QPainter& painter, const QRect& area) {
    if (picture_.isNull() || area.isEmpty()) {
        return;
    }
    const bool usable = isEnabled() && (commandEnabled_ || OpensOnPress());
    painter.drawPixmap(area,
                       picture_.pixmap(area.size(), usable ? QIcon::Normal : QIcon::Disabled));
}

void RibbonButton::PaintLarge(QPainter& painter) {
    PaintPicture(painter, PictureRect());
    painter.setPen(TextColour());
    const QFontMetrics metrics = fontMetrics();
    const QStringList lines = LargeLabelLines(Label(), metrics);
    int y = PictureRect().bottom() + 4;
    for (int i = 0; i < lines.size(); ++i) {
        const bool last = i == lines.size() - 1;
        const int textWidth = metrics.horizontalAdvance(lines[i]);
        const int arrowRoom = last && HasArrow() && lines.size() == 2 ? 10 : 0;
        const int x = (width() - textWidth - arrowRoom) / 2;
        painter.drawText(QRect(x, y, textWidth + 1, metrics.height()), Qt::AlignLeft, lines[i]);
        if (arrowRoom > 0) {
            PaintDropArrow(painter, QPointF(x + textWidth + 6, y + metrics.height() / 2.0 + 1),
                           TextColour());
        }
        y += metrics.height();
    }
    if (HasArrow() && lines.size() == 1) {
        PaintDropArrow(painter, QPointF(width() / 2.0, y + metrics.height() / 2.0), TextColour());
    }
}

void RibbonButton::PaintSmall(QPainter& painter) {
    const QRect picture = PictureRect();
    PaintPicture(painter, picture);
    const QString label = Label();
    if (!label.isEmpty() && style_ == Style::Small) {
        const int x = picture.right() + 5;
        painter.setPen(TextColour());
        painter.drawText(QRect(x, 0, width() - x, height()), Qt::AlignVCenter | Qt::AlignLeft,
                         label);
    }
    if (HasArrow()) {
        const QRect arrow = ArrowRect();
        const QRect room =
            arrow == rect() ? QRect(width() - kArrowWidth, 0, kArrowWidth, height()) : arrow;
        PaintDropArrow(painter, QPointF(room.center()) + QPointF(0.5, 1), TextColour());
    }
}

void RibbonButton::PaintEntry(QPainter& painter) {
    PaintPicture(painter, PictureRect());
    const int x = 46;
    const int right = width() - (HasArrow() ? kEntryArrowWidth + 4 : 6);
    painter.setPen(TextColour());
    if (description_.isEmpty()) {
        painter.drawText(QRect(x, 0, right - x, height()), Qt::AlignVCenter | Qt::AlignLeft,
                         Label());
    } else {
        QFont bold = font();
        bold.setBold(true);
        painter.setFont(bold);
        painter.drawText(QRect(x, 4, right - x, height() / 2), Qt::AlignLeft, Label());
        painter.setFont(font());
        painter.drawText(QRect(x, height() / 2, right - x, height() / 2 - 2), Qt::AlignLeft,
                         fontMetrics().elidedText(description_, Qt::ElideRight, right - x));
    }
    if (HasArrow()) {
        const QRect arrow = ArrowRect();
        painter.save();
        painter.translate(QPointF(arrow.center()) + QPointF(1, 0.5));
        painter.rotate(-90);
        PaintDropArrow(painter, QPointF(0, 0), TextColour());
        painter.restore();
    }
}

void RibbonButton::PaintGroup(QPainter& painter) {
    const RibbonLook& look = LookOf(this);
    const QRectF cell = QRectF(rect()).adjusted(0, 0, 0, 0);
    if (isDown()) {
        PaintBox(painter, cell, look.pressedTop, look.pressedBottom, look.pressedBorder, look, 1);
    } else if (checked_) {
        PaintBox(painter, cell, look.checkedTop, look.checkedBottom, look.checkedBorder, look, 1);
    } else if (underMouse() && isEnabled()) {
        PaintBox(painter, cell, look.hoverTop, look.hoverBottom, look.hoverBorder, look, 1);
    } else {
        PaintBox(painter, cell, look.panelTop.lighter(104), look.panelBottom, look.panelBorder,
                 look, 1);
    }
    painter.setPen(TextColour());
    painter.drawText(rect(), Qt::AlignCenter, Label());
}

void RibbonButton::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && HasArrow() &&
        ArrowRect().contains(event->position().toPoint())) {
        ShowMenu();
        return;
    }
    if (!commandEnabled_) {
        return;
    }
    QAbstractButton::mousePressEvent(event);
}

void RibbonButton::mouseMoveEvent(QMouseEvent* event) {
    const bool over = ArrowRect().contains(event->position().toPoint());
    if (over != overArrow_) {
        overArrow_ = over;
        if (over) {
            emit ArrowEntered();
        }
        update();
    }
    QAbstractButton::mouseMoveEvent(event);
}

void RibbonButton::enterEvent(QEnterEvent* event) {
    update();
    QAbstractButton::enterEvent(event);
}

void RibbonButton::leaveEvent(QEvent* event) {
    overArrow_ = false;
    update();
    QAbstractButton::leaveEvent(event);
}

}  // namespace palvex::ui
