#include "mainwindow/ui/application_menu.h"

#include <QEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QStackedWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "app/recent_files.h"
#include "app/ui/qt_text.h"
#include "mainwindow/ui/ribbon_button.h"
#include "mainwindow/ui/ribbon_look.h"
#include "mainwindow/ui/ribbon_paint.h"
#include "resources/command_table.h"
#include "resources/texts.h"

namespace palvex::ui {
namespace {

constexpr int kPaneWidth = 300;

}  // namespace

ApplicationMenu::ApplicationMenu(QWidget* parent)
    : QFrame(parent, Qt::Popup),
      column_(new QVBoxLayout),
      pages_(new QStackedWidget(this)),
      footRow_(new QHBoxLayout) {
    setObjectName("applicationMenu");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setSpacing(4);
    auto* body = new QHBoxLayout;
    body->setSpacing(4);
    column_->setSpacing(1);
    column_->setContentsMargins(2, 2, 2, 2);
    body->addLayout(column_);
    pages_->setFixedWidth(kPaneWidth);
    body->addWidget(pages_);
    layout->addLayout(body);
    footRow_->addStretch();
    footRow_->setSpacing(6);
    layout->addLayout(footRow_);
    recent_ = MakePage(ToQString(texts::kRecentFilesHeading));
}

ApplicationMenu::Page ApplicationMenu::MakePage(const QString& heading) {
    Page page;
    page.widget = new QWidget(pages_);
    page.layout = new QVBoxLayout(page.widget);
    page.layout->setContentsMargins(0, 0, 0, 0);
    page.layout->setSpacing(1);
    auto* title = new QLabel(heading, page.widget);
    title->setObjectName("paneHeading");
    title->setFixedHeight(24);
    title->setContentsMargins(8, 0, 0, 0);
    title->setAutoFillBackground(true);
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    page.layout->addWidget(title);
    page.layout->addStretch();
    pages_->addWidget(page.widget);
    return page;
}

void ApplicationMenu::Watch(RibbonButton* button) {
    connect(button, &RibbonButton::AboutToRun, this, &QWidget::hide);
}

void ApplicationMenu::AddEntry(RibbonButton* entry) {
    entry->setParent(this);
    column_->addWidget(entry);
    entries_.push_back(entry);
    Watch(entry);
    entry->installEventFilter(this);
    connect(entry, &RibbonButton::ArrowEntered, this, [this, entry] { ShowItemsOf(entry); });
}

bool ApplicationMenu::eventFilter(QObject* watched, QEvent* event) {
    // The pane at the right follows the entry under the pointer: its items, or the recent
    // files for an entry without items.
    if (event->type() == QEvent::Enter) {
        auto* entry = static_cast<RibbonButton*>(watched);
        if (entry != keyEntry_) {
            keyEntry_ = nullptr;
        }
        if (itemPages_.contains(entry)) {
            ShowItemsOf(entry);
        } else {
            shown_ = nullptr;
            pages_->setCurrentWidget(recent_.widget);
        }
    }
    return QFrame::eventFilter(watched, event);
}

void ApplicationMenu::AddItem(RibbonButton* entry, RibbonButton* item, const QString& heading) {
    auto it = itemPages_.find(entry);
    if (it == itemPages_.end()) {
        it = itemPages_.emplace(entry, MakePage(heading)).first;
        entry->SetArrow(true);
    }
    Page& page = it->second;
    item->setParent(page.widget);
    page.layout->insertWidget(page.layout->count() - 1, item);
    page.items.push_back(item);
    Watch(item);
}

void ApplicationMenu::AddFootButton(RibbonButton* button) {
    button->setParent(this);
    footRow_->addWidget(button);
    foot_.push_back(button);
    Watch(button);
}

std::vector<RibbonButton*> ApplicationMenu::ItemsOf(const RibbonButton* entry) const {
    const auto it = itemPages_.find(entry);
    return it == itemPages_.end() ? std::vector<RibbonButton*>{} : it->second.items;
}

void ApplicationMenu::ShowItemsOf(RibbonButton* entry) {
    const auto it = itemPages_.find(entry);
    if (it == itemPages_.end()) {
        return;
    }
    shown_ = entry;
    pages_->setCurrentWidget(it->second.widget);
}

void ApplicationMenu::SetRecentFiles(const QStringList& paths) {
    for (RibbonButton* button : recentButtons_) {
        delete button;
    }
    recentButtons_.clear();
    static const CommandInfo kRecentRow{
        0, "recentFile", "", "", CommandPlace::ApplicationMenu, "", CommandKind::Button};
    for (int i = 0; i < paths.size(); ++i) {
        auto* button =
            new RibbonButton(kRecentRow, nullptr, RibbonButton::Style::MenuEntry, recent_.widget);
        // "&1 name" shows the number as the mnemonic, as the framework's list does; an "&" of
        // the name is doubled so that it shows.
        button->setText(
            ToQString(RecentFileList::MenuText(i, ToStdString(QFileInfo(paths[i]).fileName()))));
        button->setToolTip(paths[i].toHtmlEscaped());
        button->setObjectName(QString("recentFile%1").arg(i + 1));
        button->setFixedHeight(26);
        connect(button, &QAbstractButton::clicked, this, [this, i] {
            hide();
            emit RecentChosen(i);
        });
        recent_.layout->insertWidget(recent_.layout->count() - 1, button);
        recentButtons_.push_back(button);
    }
}

void ApplicationMenu::Popup(const QPoint& at) {
    const RibbonLook& look = LookOf(this);
    // The pane grows for a language whose items or headings are longer; file names of the
    // recent list do not widen it.
    int paneWidth = kPaneWidth;
    for (QLabel* title : findChildren<QLabel*>("paneHeading")) {
        QPalette colours = title->palette();
        colours.setColor(QPalette::Window, look.menuHeading);
        colours.setColor(QPalette::WindowText, look.menuHeadingText);
        title->setPalette(colours);
        paneWidth = std::max(paneWidth, title->sizeHint().width());
    }
    for (const auto& [entry, page] : itemPages_) {
        for (const RibbonButton* item : page.items) {
            paneWidth = std::max(paneWidth, item->sizeHint().width());
        }
    }
    pages_->setFixedWidth(paneWidth);
    shown_ = nullptr;
    keyEntry_ = nullptr;
    pages_->setCurrentWidget(recent_.widget);
    adjustSize();
    KeepOnScreen(at);
    show();
    KeepOnScreen(at);  // showing lays the menu out once more
}

void ApplicationMenu::KeepOnScreen(const QPoint& at) {
    // As a menu is, so that its last entries are not cut off.
    const QScreen* screen = QGuiApplication::screenAt(at);
    if (screen == nullptr) {
        move(at);
        return;
    }
    const QRect room = screen->availableGeometry();
    const QSize size = frameGeometry().size();
    move(std::clamp(at.x(), room.left(), std::max(room.left(), room.right() + 1 - size.width())),
         std::clamp(at.y(), room.top(), std::max(room.top(), room.bottom() + 1 - size.height())));
}

RibbonButton* ApplicationMenu::ButtonForKey(int key) const {
    std::vector<RibbonButton*> candidates;
    if (keyEntry_ != nullptr) {
        candidates = ItemsOf(keyEntry_);
    } else {
        candidates = entries_;
        candidates.insert(candidates.end(), foot_.begin(), foot_.end());
        candidates.insert(candidates.end(), recentButtons_.begin(), recentButtons_.end());
    }
    for (RibbonButton* button : candidates) {
        const QKeySequence access = button->AccessKey();
        if (!access.isEmpty() && access[0].key() == key) {
            return button;
        }
    }
    return nullptr;
}

void ApplicationMenu::keyPressEvent(QKeyEvent* event) {
    // The access keys of the labels, as a menu has them: an entry with items opens them and
    // the next key chooses among the items; Esc steps back out.
    if (event->key() == Qt::Key_Escape || (event->key() == Qt::Key_Left && keyEntry_ != nullptr)) {
        if (keyEntry_ != nullptr) {
            keyEntry_ = nullptr;
            shown_ = nullptr;
            pages_->setCurrentWidget(recent_.widget);
        } else {
            hide();
        }
        return;
    }
    const Qt::KeyboardModifiers modifiers =
        event->modifiers() & ~(Qt::AltModifier | Qt::KeypadModifier);
    RibbonButton* button = modifiers == Qt::NoModifier ? ButtonForKey(event->key()) : nullptr;
    if (button == nullptr) {
        QFrame::keyPressEvent(event);
        return;
    }
    if (itemPages_.contains(button)) {
        ShowItemsOf(button);
        keyEntry_ = button;
    } else if (button->isEnabled()) {
        button->click();
    }
}

void ApplicationMenu::hideEvent(QHideEvent* event) {
    keyEntry_ = nullptr;
    QFrame::hideEvent(event);
    emit Closed();
}

void ApplicationMenu::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    const RibbonLook& look = LookOf(this);
    painter.fillRect(rect(), look.captionBottom);
    // The light area ends where the body does: a tall page of items reaches lower than the
    // entries, and its last item must not sit on the dark foot.
    const int bodyBottom = std::max(pages_->geometry().bottom(), column_->geometry().bottom());
    const QRect inner(QPoint(6, 6), QPoint(width() - 7, foot_.empty() ? height() - 7 : bodyBottom));
    painter.fillRect(inner, look.menuBack);
    painter.fillRect(
        QRect(inner.left(), inner.top(), pages_->x() - inner.left() - 2, inner.height()),
        look.menuSide);
    painter.setPen(look.panelBorder);
    painter.drawRect(inner.adjusted(0, 0, -1, -1));
    painter.drawLine(pages_->x() - 2, inner.top(), pages_->x() - 2, inner.bottom());
    painter.setPen(look.tabBorder.darker(120));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

}  // namespace palvex::ui
