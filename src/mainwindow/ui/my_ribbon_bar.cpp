#include "mainwindow/ui/my_ribbon_bar.h"

#include <QAction>
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QStackedWidget>

#include "app/ui/qt_text.h"
#include "mainwindow/ui/application_button.h"
#include "mainwindow/ui/application_menu.h"
#include "mainwindow/ui/command_router.h"
#include "mainwindow/ui/key_help_tip.h"
#include "mainwindow/ui/ribbon_accessible.h"
#include "mainwindow/ui/ribbon_builder.h"
#include "mainwindow/ui/ribbon_button.h"
#include "mainwindow/ui/ribbon_icons.h"
#include "mainwindow/ui/ribbon_page_area.h"
#include "mainwindow/ui/ribbon_panel.h"
#include "mainwindow/ui/ribbon_tab_bar.h"
#include "resources/command_ids.h"
#include "resources/texts.h"

namespace palvex::ui {
namespace {

constexpr int kQuickAccessHeight = 26;
constexpr int kTabRowHeight = 24;
constexpr int kBodyHeight = 96;
constexpr int kPenPanel = 2;  // the "ペン" panel of the pen tab

bool SameStart(const QString& a, const QString& b) {
    return a.size() >= 2 && b.size() >= 2 && a.left(2) == b.left(2);
}

// The tab named `text`; else the first whose name starts with the same two characters, which
// is all a caller may know. The whole name comes first, since translated names can start alike.
int FindTab(const QTabBar& tabs, const QString& text) {
    for (int tab = 0; tab < tabs.count(); ++tab) {
        if (tabs.tabText(tab) == text) {
            return tab;
        }
    }
    for (int tab = 0; tab < tabs.count(); ++tab) {
        if (SameStart(tabs.tabText(tab), text)) {
            return tab;
        }
    }
    return -1;
}

}  // namespace

CMyRibbonBar::CMyRibbonBar(const AppSettings& settings, CommandRouter& router,
                           AskColourFunction askColour, QWidget* parent)
    : QWidget(parent),
      settings_(settings),
      router_(router),
      askColour_(std::move(askColour)),
      look_(LookFor(cmd::ID_VIEW_APPLOOK_OFF_2007_BLACK)),
      grid_(new QGridLayout(this)),
      appButton_(new ApplicationButton(this)),
      appMenu_(new ApplicationMenu(this)),
      quickAccess_(new QHBoxLayout),
      tabRow_(new QHBoxLayout),
      tabs_(new RibbonTabBar(this)),
      body_(new QStackedWidget(this)) {
    setObjectName("CMyRibbonBar");
    InstallRibbonAccessibility();
    setAutoFillBackground(true);
    setMouseTracking(true);
    grid_->setContentsMargins(0, 0, 0, 0);
    grid_->setSpacing(0);
    grid_->setColumnStretch(1, 1);
    grid_->setRowMinimumHeight(0, kQuickAccessHeight);
    grid_->setRowMinimumHeight(1, kTabRowHeight);
    grid_->addWidget(appButton_, 0, 0, 2, 1, Qt::AlignLeft | Qt::AlignBottom);
    quickAccess_->setContentsMargins(6, 2, 0, 2);
    quickAccess_->setSpacing(1);
    grid_->addLayout(quickAccess_, 0, 1);
    tabRow_->setContentsMargins(2, 0, 4, 0);
    tabRow_->setSpacing(1);
    tabRow_->addWidget(tabs_, 0, Qt::AlignBottom);
    tabRow_->addStretch();
    grid_->addLayout(tabRow_, 1, 1);
    body_->setFixedHeight(kBodyHeight + RibbonPanel::ExtraBodyHeight(fontMetrics()));
    body_->setMouseTracking(true);
    grid_->addWidget(body_, 2, 0, 1, 2);

    RibbonBuilder(*this, router_, askColour_).Build();
    quickAccess_->addStretch();
    SetUpKeyboard();

    connect(appButton_, &QAbstractButton::clicked, this, &CMyRibbonBar::ShowApplicationMenu);
    connect(appMenu_, &ApplicationMenu::Closed, this, [this] { appButton_->SetOpen(false); });
    connect(appMenu_, &ApplicationMenu::RecentChosen, this, &CMyRibbonBar::RecentChosen);
    connect(tabs_, &QTabBar::currentChanged, this, [this](int tab) {
        body_->setCurrentIndex(tab);
        emit ActiveTabChanged(tabs_->tabText(tab));
    });
    connect(tabs_, &QTabBar::tabBarDoubleClicked, this, [this] { ToggleMinimized(); });
    WatchMouse(this);
    Restyle();
}

CMyRibbonBar::~CMyRibbonBar() = default;

QWidget* CMyRibbonBar::AddTab(const QString& name) {
    auto* page = new QWidget(body_);
    page->setObjectName(QString("tab:%1").arg(name));
    page->setMouseTracking(true);
    auto* layout = new QHBoxLayout(page);
    layout->setContentsMargins(3, 2, 3, 2);
    layout->setSpacing(3);
    body_->addWidget(new RibbonPageArea(page, body_));
    pages_.push_back(page);
    panels_.emplace_back();
    const QSignalBlocker quiet(tabs_);
    tabs_->addTab(name);
    return page;
}

void CMyRibbonBar::Register(const RibbonElement& element) {
    elements_.push_back(element);
}

void CMyRibbonBar::WatchMouse(QWidget* widget) {
    widget->installEventFilter(this);
    for (QWidget* child : widget->findChildren<QWidget*>()) {
        if (!child->isWindow()) {
            child->installEventFilter(this);
        }
    }
}

int CMyRibbonBar::TabCount() const {
    return tabs_->count();
}

QString CMyRibbonBar::TabName(int tab) const {
    return tabs_->tabText(tab);
}

int CMyRibbonBar::ActiveTab() const {
    return tabs_->currentIndex();
}

bool CMyRibbonBar::ActivateRibbonTab(const QString& text) {
    const int tab = FindTab(*tabs_, text);
    if (tab < 0) {
        return false;
    }
    tabs_->setCurrentIndex(tab);
    return true;
}

RibbonPanel* CMyRibbonBar::Panel(int tab, int index) const {
    if (tab < 0 || tab >= static_cast<int>(panels_.size()) || index < 0 ||
        index >= static_cast<int>(panels_[static_cast<std::size_t>(tab)].size())) {
        return nullptr;
    }
    return panels_[static_cast<std::size_t>(tab)][static_cast<std::size_t>(index)];
}

const RibbonElement* CMyRibbonBar::FindElement(const QString& tab, int panel, int id) const {
    const int t = FindTab(*tabs_, tab);
    const RibbonPanel* target = Panel(t, panel);
    for (const RibbonElement& element : elements_) {
        if (element.row->id == id && element.tab == t && element.panel == target &&
            target != nullptr) {
            return &element;
        }
    }
    return nullptr;
}

const RibbonElement* CMyRibbonBar::ElementFor(const CommandInfo& row) const {
    for (const RibbonElement& element : elements_) {
        if (element.row == &row) {
            return &element;
        }
    }
    return nullptr;
}

const RibbonElement* CMyRibbonBar::First(int id) const {
    const RibbonElement* first = nullptr;
    for (const RibbonElement& element : elements_) {
        if (element.row->id != id) {
            continue;
        }
        if (element.tab >= 0) {
            return &element;
        }
        if (first == nullptr) {
            first = &element;
        }
    }
    return first;
}

RibbonButton* CMyRibbonBar::Button(int id) const {
    for (const bool inTabs : {true, false}) {
        for (const RibbonElement& element : elements_) {
            if (element.row->id == id && (element.tab >= 0) == inTabs) {
                if (auto* button = qobject_cast<RibbonButton*>(element.widget)) {
                    return button;
                }
            }
        }
    }
    return nullptr;
}

void CMyRibbonBar::ShowApplicationMenu() {
    appMenu_->SetRecentFiles(recentFiles ? recentFiles() : QStringList());
    router_.UpdateActions();
    appButton_->SetOpen(true);
    // Opened from the keyboard (only the keyboard focuses the button), the keys go on inside.
    const bool byKeyboard = appButton_->hasFocus();
    appMenu_->Popup(appButton_->MenuPosition());
    if (byKeyboard) {
        appMenu_->FocusFirstEntry();
    }
}

void CMyRibbonBar::ToggleMinimized() {
    if (tabs_->currentIndex() < 0) {
        return;
    }
    minimized_ = !minimized_;
    body_->setVisible(!minimized_);
    if (RibbonButton* toggle = Button(cmd::ID_SHOW_MENU)) {
        toggle->SetPicture(MinimiseToggleIcon(minimized_));
    }
    updateGeometry();
    if (QWidget* frame = window()) {
        frame->update();
    }
}

void CMyRibbonBar::ApplyLook(int value) {
    look_ = LookFor(value, office2007Style_);
    if (IsOffice2007Style(value)) {
        office2007Style_ = value;
    }
    Restyle();
}

void CMyRibbonBar::Restyle() {
    // Texts drawn by plain widgets follow the look's text colour.
    for (QWidget* child : findChildren<QWidget*>()) {
        if (qobject_cast<QCheckBox*>(child) != nullptr ||
            (qobject_cast<QLabel*>(child) != nullptr && child->objectName() != "keyHelpTip")) {
            QPalette colours = child->palette();
            colours.setColor(QPalette::WindowText, look_.text);
            colours.setColor(QPalette::Text, look_.text);
            if (child->objectName() == "menuHeading") {
                colours.setColor(QPalette::Window, look_.menuHeading);
                colours.setColor(QPalette::WindowText, look_.menuHeadingText);
            }
            child->setPalette(colours);
        }
    }
    setStyleSheet(QString("QMenu { background: %1; border: 1px solid %2; color: %3; }"
                          "QMenu::item { padding: 4px 24px 4px 8px; }"
                          "QMenu::icon { padding-left: 6px; }"
                          "QMenu::item:selected { background: qlineargradient(x1:0, y1:0, x2:0, "
                          "y2:1, stop:0 %4, stop:1 %5); border: 1px solid %6; color: %3; }"
                          "QMenu::item:disabled { color: %7; }"
                          "QMenu::separator { height: 1px; background: %2; margin: 3px 6px; }")
                      .arg(look_.menuBack.name(), look_.panelBorder.name(), look_.text.name(),
                           look_.hoverTop.name(), look_.hoverBottom.name(),
                           look_.hoverBorder.name(), look_.disabledText.name()));
    update();
    for (QWidget* child : findChildren<QWidget*>()) {
        child->update();
    }
}

QString CMyRibbonBar::KeyHelpText() {
    QString text;
    for (const std::string_view line : texts::kKeyHelpLines) {
        text += ToQString(line);
    }
    return text;
}

void CMyRibbonBar::CreateKeyHelp() {
    if (keyHelp_ == nullptr) {
        keyHelp_ = new KeyHelpTip(this);
    }
}

bool CMyRibbonBar::KeyHelpWanted(const QPoint& global) const {
    if (settings_.showTip != 1 ||
        tabs_->currentIndex() != FindTab(*tabs_, ToQString(texts::kPenTab))) {
        return false;
    }
    const RibbonPanel* pen = Panel(tabs_->currentIndex(), kPenPanel);
    if (pen == nullptr || !pen->isVisible()) {
        return false;
    }
    const QPoint point = pen->mapFromGlobal(global);
    return point.x() >= pen->width() && point.y() >= 0;
}

void CMyRibbonBar::RelayMouseMove(const QPoint& global) {
    if (keyHelp_ == nullptr) {
        return;
    }
    keyHelp_->RelayMouseMove(global);
    const bool wanted = KeyHelpWanted(global);
    if (wanted) {
        keyHelp_->SetHelpText(KeyHelpText());
    }
    keyHelp_->Activate(wanted);
}

bool CMyRibbonBar::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseMove) {
        RelayMouseMove(static_cast<QMouseEvent*>(event)->globalPosition().toPoint());
    }
    return QWidget::eventFilter(watched, event);
}

void CMyRibbonBar::leaveEvent(QEvent* event) {
    if (keyHelp_ != nullptr) {
        keyHelp_->Activate(false);
    }
    QWidget::leaveEvent(event);
}

void CMyRibbonBar::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    const int bodyTop = minimized_ ? height() : body_->geometry().top();
    QLinearGradient caption(0, 0, 0, bodyTop);
    caption.setColorAt(0, look_.captionTop);
    caption.setColorAt(1, look_.captionBottom);
    painter.fillRect(QRect(0, 0, width(), bodyTop), caption);
    if (!minimized_) {
        QLinearGradient body(0, bodyTop, 0, height());
        body.setColorAt(0, look_.bodyTop);
        body.setColorAt(1, look_.bodyBottom);
        painter.fillRect(QRect(0, bodyTop, width(), height() - bodyTop), body);
        painter.setPen(look_.tabBorder);
        painter.drawLine(0, bodyTop, width(), bodyTop);
        // The active tab opens into the panels below it.
        const QRect tab = tabs_->tabRect(tabs_->currentIndex());
        const QPoint left = tabs_->mapTo(this, tab.bottomLeft());
        painter.setPen(look_.bodyTop);
        painter.drawLine(left.x() + 2, bodyTop, left.x() + tab.width() - 3, bodyTop);
    }
    painter.setPen(look_.tabBorder.darker(115));
    painter.drawLine(0, height() - 1, width(), height() - 1);
}

}  // namespace palvex::ui
