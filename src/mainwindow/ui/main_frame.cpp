#include "mainwindow/ui/main_frame.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLineEdit>

#include "app/app_settings.h"
#include "app/ui/qt_text.h"
#include "canvas/canvas_mapping.h"
#include "canvas/image_layer.h"
#include "canvas/ui/vemmar_view.h"
#include "mainwindow/ui/my_ribbon_bar.h"
#include "mainwindow/ui/my_status_bar.h"
#include "mainwindow/ui/ribbon_slider.h"
#include "resources/command_ids.h"
#include "resources/string_table.h"
#include "resources/texts.h"
#include "tools/ui/canvas_input.h"
#include "tools/ui/tool_commands.h"

namespace palvex::ui {
namespace {

bool IsZoomCommand(int id) {
    return id >= cmd::ID_ZOOM1 && id <= cmd::ID_ZOOM5;
}

bool IsLookCommand(int id) {
    return id >= cmd::ID_VIEW_APPLOOK_WIN_2000 && id <= cmd::ID_VIEW_APPLOOK_WINDOWS_7;
}

// Commands whose element only opens its items, and old entries kept without an effect.
bool IsInertCommand(int id) {
    switch (id) {
        case cmd::ID_SETTEI_BTN:
        case cmd::ID_ROT_BTN:
        case cmd::ID_COL_BTN:
        case cmd::ID_SEIRETU_BTN:
        case cmd::ID_RESERVED_416:
        case cmd::ID_RESERVED_417:
        case cmd::ID_RESERVED_32788:
            return true;
        default:
            return false;
    }
}

constexpr int kUpdateInterval = 250;

}  // namespace

CMainFrame::CMainFrame(EditorModel& model, CommandRouter& router, SettingsStore& store,
                       Prompter& prompter, QWidget* parent)
    : QMainWindow(parent),
      model_(model),
      router_(router),
      store_(store),
      prompter_(prompter),
      look_(setting::kApplicationLook.Read(store)) {
    setObjectName("CMainFrame");
    // Created translucent so that the mode without background can let the desktop show
    // through the canvas; every other part of the window paints itself opaque.
    setAttribute(Qt::WA_TranslucentBackground);
    setMinimumSize(400, 300);
    ribbon_ = new CMyRibbonBar(
        model_.settings, router_, [this](Colour initial) { return prompter_.AskColour(initial); },
        this);
    setMenuWidget(ribbon_);
    statusBar_ = new CMyStatusBar(model_.settings, this);
    setStatusBar(statusBar_);
    tools_ = std::make_unique<ToolCommands>(model_, *this, store_, prompter_);
    ApplyApplicationLook(look_);

    ribbon_->recentFiles = [this] {
        QStringList paths;
        for (int i = 0; i < model_.recent.Count(); ++i) {
            paths << ToQString(model_.recent.Entry(i));
        }
        return paths;
    };
    connect(ribbon_, &CMyRibbonBar::RecentChosen, this,
            [this](int index) { router_.Dispatch(cmd::ID_FILE_MRU_FIRST + index); });
    connect(ribbon_, &CMyRibbonBar::ActiveTabChanged, this, &CMainFrame::OnRibbonTabChanged);
    connect(ribbon_, &CMyRibbonBar::SliderMoved, this, [this](int id, int position) {
        if (id == cmd::ID_ZOOM_SLIDER && view_ != nullptr) {
            view_->SetZoomSliderPosition(position);
        }
    });
    qApp->installEventFilter(this);
    // The ribbon's states follow the editing state, as an idle update would keep them.
    connect(&updateTimer_, &QTimer::timeout, &router_, &CommandRouter::UpdateActions);
    updateTimer_.start(kUpdateInterval);
    RefreshImageInfo();
}

CMainFrame::~CMainFrame() {
    if (view_ != nullptr) {
        view_->SetInput(nullptr);
    }
}

void CMainFrame::SetView(CVemmarView* view) {
    view_ = view;
    setCentralWidget(view);
    input_ = std::make_unique<CanvasInput>(
        CanvasInput::Services{model_, *view, *statusBar_, router_, prompter_,
                              [this](Colour colour) { tools_->SetDrawColor(colour); }});
    view->SetInput(input_.get());
    // Tab leaves the ribbon for the canvas; the status bar follows it.
    setTabOrder(ribbon_->KeyboardOrder().back(), view);
    setTabOrder(view, statusBar_);
    // The window opens with the keyboard on the canvas, whose keys are the editor's.
    view->setFocus(Qt::OtherFocusReason);
    tools_->SetInput(input_.get());
    InstallTools();
    connect(view, &CVemmarView::ZoomSliderMoved, this, [this](int position) {
        ribbon_->SetSliderPosition(cmd::ID_ZOOM_SLIDER, position);
        router_.UpdateActions();
    });
}

bool CMainFrame::SetUpRibbon() {
    const QString home = ToQString(texts::kHomeTab);
    const QString pen = ToQString(texts::kPenTab);
    const QString barrier = ToQString(texts::kBarrierTab);
    const AppSettings& settings = model_.settings;
    struct Check {
        const QString& tab;
        int panel;
        int id;
    };
    const Check expected[] = {
        {home, 0, cmd::ID_ZOOM_SLIDER},
        {home, 1, cmd::ID_TRANS_COL},
        {home, 1, cmd::ID_BK_COL},
        {home, 2, cmd::ID_SEL_LINE_COL},
        {home, 2, cmd::ID_PAINT},
        {pen, 0, cmd::ID_HANI_ALL},
        {pen, 0, cmd::ID_HANI_PART},
        {pen, 0, cmd::ID_HANI_SPIN},
        {pen, 0, cmd::ID_FLAT_SPIN},
        {pen, 1, cmd::ID_COL_ALL},
        {pen, 1, cmd::ID_COL_KINJI},
        {pen, 1, cmd::ID_KINJI_SLIDER},
        {pen, 2, cmd::ID_PEN_REAL},
        {pen, 2, cmd::ID_PEN_STYLE},
        {barrier, 1, cmd::ID_BARRIER_LINE_COL},
        {barrier, 1, cmd::ID_BARRIER_POS_COL},
        {barrier, 1, cmd::ID_BARRIER_NUM_COL},
        {barrier, 1, cmd::ID_BARRIER_SEL_LINE_COL},
        {barrier, 1, cmd::ID_BARRIER_SEL_POS_COL},
        {barrier, 1, cmd::ID_BARRIER_SEL_NUM_COL},
        {barrier, 2, cmd::ID_TOKEI},
    };
    for (const Check& check : expected) {
        if (ribbon_->FindElement(check.tab, check.panel, check.id) == nullptr) {
            return false;
        }
    }
    RibbonSlider* zoom = ribbon_->Slider(cmd::ID_ZOOM_SLIDER);
    zoom->SetStepButtons(true);
    zoom->SetRange(1, 5);
    zoom->SetPosition(ZoomSliderPosition(settings.zoomFactor));
    if (settings.backgroundMode >= 0 || settings.backgroundMode == kBackgroundNone) {
        ribbon_->SetColour(cmd::ID_BK_COL, static_cast<Colour>(settings.backgroundMode));
    } else {
        ribbon_->SetColour(cmd::ID_BK_COL, static_cast<Colour>(setting::kRefBk.fallback));
    }
    ribbon_->SetColour(cmd::ID_SEL_LINE_COL, settings.selectionLineColour);
    ribbon_->SetColour(cmd::ID_PAINT, settings.drawColour);
    ribbon_->SetChosenOption(settings.wholeImage == 1 ? cmd::ID_HANI_ALL : cmd::ID_HANI_PART,
                             settings.wholeImage == 1 ? cmd::ID_HANI_PART : cmd::ID_HANI_ALL);
    ribbon_->SetEditText(cmd::ID_HANI_SPIN, QString::number(settings.rangeSize));
    ribbon_->SetEditText(cmd::ID_FLAT_SPIN, QString::number(settings.flatness));
    ribbon_->SetChosenOption(settings.allColours == 1 ? cmd::ID_COL_ALL : cmd::ID_COL_KINJI,
                             settings.allColours == 1 ? cmd::ID_COL_KINJI : cmd::ID_COL_ALL);
    RibbonSlider* tolerance = ribbon_->Slider(cmd::ID_KINJI_SLIDER);
    tolerance->SetStepButtons(true);
    tolerance->SetRange(1, 9);
    tolerance->SetPosition(settings.tolerance);
    ribbon_->SetColour(cmd::ID_PEN_REAL, settings.drawColour);
    ribbon_->SetGallerySelection(cmd::ID_PEN_STYLE, settings.penStyle);
    ribbon_->SetColour(cmd::ID_BARRIER_LINE_COL, settings.barrierLineColour);
    ribbon_->SetColour(cmd::ID_BARRIER_POS_COL, settings.barrierPointColour);
    ribbon_->SetColour(cmd::ID_BARRIER_NUM_COL, settings.barrierNumberColour);
    ribbon_->SetColour(cmd::ID_BARRIER_SEL_LINE_COL, settings.barrierSelectedLineColour);
    ribbon_->SetColour(cmd::ID_BARRIER_SEL_POS_COL, settings.barrierSelectedPointColour);
    ribbon_->SetColour(cmd::ID_BARRIER_SEL_NUM_COL, settings.barrierSelectedNumberColour);
    ribbon_->CreateKeyHelp();
    return true;
}

bool CMainFrame::ActivateRibbonTab(const QString& text) {
    return ribbon_->ActivateRibbonTab(text);
}

void CMainFrame::ApplyApplicationLook(int value) {
    look_ = value;
    ribbon_->ApplyLook(value);
    statusBar_->ApplyLook(ribbon_->Look());
    update();
    for (QWidget* child : findChildren<QWidget*>()) {
        child->update();
    }
    setting::kApplicationLook.Write(store_, value);
}

void CMainFrame::ToggleRibbonMinimized() {
    ribbon_->ToggleMinimized();
    update();
}

void CMainFrame::SetDocumentTitle(const QString& title) {
    setWindowTitle(title + " - " + ToQString(texts::kAppTitle));
    if (view_ != nullptr) {
        view_->SetDocumentName(title);
    }
}

void CMainFrame::RefreshImageInfo() {
    statusBar_->ShowImageInfo({0, 0, model_.image.width, model_.image.height});
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    if (canClose && !canClose()) {
        event->ignore();
        return;
    }
    event->accept();
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const auto* widget = qobject_cast<QWidget*>(watched);
        if (widget != nullptr && TakesKeysOf(widget->window()) &&
            HandleKey(static_cast<QKeyEvent*>(event))) {
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

bool CMainFrame::TakesKeysOf(const QWidget* window) const {
    if (window == this) {
        return true;
    }
    // The frame's tool windows (the navigator) share its keys; a dialog or a menu open over
    // the editor keeps its own.
    const QWidget* owner = window->parentWidget();
    return owner != nullptr && owner->window() == this && window->windowType() == Qt::Tool &&
           QApplication::activeModalWidget() == nullptr &&
           QApplication::activePopupWidget() == nullptr;
}

bool CMainFrame::HandleKey(QKeyEvent* event) {
    // Ctrl+Tab and Ctrl+Shift+Tab move between the ribbon, the canvas and the status bar, as in
    // Qt's widgets that keep Tab for themselves; the canvas keeps Tab and F6 for its own keys.
    if (event->modifiers().testFlag(Qt::ControlModifier) &&
        !event->modifiers().testFlag(Qt::AltModifier) &&
        (event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab)) {
        MoveFocusBetweenAreas(event->key() == Qt::Key_Tab &&
                              !event->modifiers().testFlag(Qt::ShiftModifier));
        return true;
    }
    if (event->keyCombination() == QKeyCombination(Qt::ControlModifier, Qt::Key_F1)) {
        // The ribbon's own key for minimising, named in the first tab.
        ToggleRibbonMinimized();
        return true;
    }
    QWidget* focus = QApplication::focusWidget();
    const bool canvasFocus =
        view_ != nullptr && focus != nullptr && (focus == view_ || view_->isAncestorOf(focus));
    const bool editFocus = qobject_cast<QLineEdit*>(focus) != nullptr ||
                           qobject_cast<QAbstractSpinBox*>(focus) != nullptr;
    const std::optional<int> command =
        accelerators_.CommandFor(event->keyCombination(), canvasFocus, editFocus);
    if (!command) {
        return false;
    }
    router_.Dispatch(*command);
    return true;
}

void CMainFrame::MoveFocusBetweenAreas(bool forward) {
    QWidget* const areas[] = {ribbon_, view_, statusBar_};
    constexpr int kAreas = 3;
    const QWidget* focus = QApplication::focusWidget();
    int current = -1;
    for (int i = 0; i < kAreas; ++i) {
        if (areas[i] != nullptr && focus != nullptr &&
            (focus == areas[i] || areas[i]->isAncestorOf(focus))) {
            current = i;
        }
    }
    int next = current;
    for (int step = 0; step < kAreas; ++step) {
        // From a tool window (the navigator) the keyboard comes back to the canvas first.
        next = next < 0 ? 1 : (next + (forward ? 1 : kAreas - 1)) % kAreas;
        QWidget* target = next == 0 ? ribbon_->FirstKeyboardControl() : areas[next];
        if (target != nullptr && target->isVisible() && target->isEnabled()) {
            activateWindow();
            target->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
            return;
        }
    }
}

void CMainFrame::OnRibbonTabChanged(const QString& name) {
    const QString barrier = ToQString(texts::kBarrierTab);
    const ToolMode mode = ToolModeFromStored(model_.settings.toolMode);
    // The barrier mode cannot be left while barrier points are being added.
    if (input_ != nullptr && input_->Hooks().AddingBarrierPoints() && name != barrier) {
        ActivateRibbonTab(barrier);
        return;
    }
    // The tabs carry these very names (whatever the language), so no other tab can match.
    if (name == barrier) {
        tools_->SetToolMode(ToolMode::Barrier);
    } else if (name == ToQString(texts::kPenTab) && !IsPenMode(mode)) {
        tools_->SetToolMode(ToolMode::Pen);
    }
    router_.UpdateActions();
}

void CMainFrame::ChangeBackgroundColour() {
    const Colour colour = ribbon_->ColourOf(cmd::ID_BK_COL);
    // The automatic entry shows the desktop through the key, as "背景なし" does.
    const bool none = colour == kNoColour;
    view_->SetBackgroundMode(none ? kBackgroundNone : static_cast<std::int32_t>(colour), none);
}

void CMainFrame::ToggleKeyHelp() {
    model_.settings.showTip = model_.settings.showTip == 1 ? 0 : 1;
    statusBar_->FlashMessage(str::kNoticeKeyHelp, model_.settings.showTip == 1,
                             texts::kSwitchOnWord, texts::kSwitchOffWord);
}

void CMainFrame::AddToolTarget(std::unique_ptr<CommandTarget> target) {
    toolTargets_.push_back(std::move(target));
}

bool CMainFrame::OnCommand(int id) {
    if (tools_->OnCommand(id)) {
        return true;
    }
    for (const auto& target : toolTargets_) {
        if (target->OnCommand(id)) {
            return true;
        }
    }
    if (IsLookCommand(id)) {
        ApplyApplicationLook(id);
        return true;
    }
    if (IsInertCommand(id)) {
        return true;
    }
    switch (id) {
        case cmd::ID_SHOW_MENU:
            ToggleRibbonMinimized();
            return true;
        case cmd::ID_DSP_TIP:
            ToggleKeyHelp();
            return true;
        default:
            break;
    }
    if (view_ == nullptr) {
        return false;
    }
    if (IsZoomCommand(id)) {
        const int position = id - cmd::ID_ZOOM1 + 1;
        view_->SetZoom(ZoomForSliderPosition(position));
        view_->SetZoomSliderPosition(position);
        return true;
    }
    switch (id) {
        case cmd::ID_ZOOM_SLIDER:
            view_->SetZoom(ZoomForSliderPosition(view_->ZoomSliderPosition()));
            return true;
        case cmd::ID_BK_COL:
            ChangeBackgroundColour();
            return true;
        case cmd::ID_ALPHA_0:
            view_->SetBackgroundMode(kBackgroundNone, true);
            return true;
        case cmd::ID_ALPHA1:
            view_->SetBackgroundMode(kBackgroundChecker, false);
            return true;
        case cmd::ID_ALPHA2:
            view_->SetBackgroundMode(kBackgroundIcon, false);
            return true;
        case cmd::ID_ALPHA9:
            view_->SetBackgroundMode(kBackgroundPicture, false);
            return true;
        case cmd::ID_CHANGE_FREEBK:
            view_->ChangeFreeBackground();
            return true;
        case cmd::ID_TEST_TRANS:
            view_->TestTransparency();
            return true;
        default:
            return false;
    }
}

bool CMainFrame::OnUpdateCommand(int id, CommandUiState& state) {
    if (tools_->OnUpdateCommand(id, state)) {
        return true;
    }
    for (const auto& target : toolTargets_) {
        if (target->OnUpdateCommand(id, state)) {
            return true;
        }
    }
    if (IsLookCommand(id)) {
        state.checked = id == look_ && id != cmd::ID_VIEW_APPLOOK_WIN_2000;
        return true;
    }
    if (IsInertCommand(id) || id == cmd::ID_SHOW_MENU || id == cmd::ID_DSP_TIP) {
        return true;
    }
    if (IsZoomCommand(id)) {
        state.checked = model_.settings.zoomFactor == kZoomLevels[id - cmd::ID_ZOOM1];
        return true;
    }
    switch (id) {
        case cmd::ID_ZOOM_SLIDER:
        case cmd::ID_BK_COL:
        case cmd::ID_ALPHA_0:
        case cmd::ID_ALPHA1:
        case cmd::ID_ALPHA2:
        case cmd::ID_CHANGE_FREEBK:
            return true;
        case cmd::ID_ALPHA9:
            state.enabled = !model_.settings.backgroundImage.empty();
            return true;
        case cmd::ID_TEST_TRANS:
            state.enabled = model_.settings.backgroundMode != kBackgroundNone;
            return true;
        default:
            return false;
    }
}

}  // namespace palvex::ui
