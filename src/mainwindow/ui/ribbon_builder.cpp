#include "mainwindow/ui/ribbon_builder.h"

#include <QAction>
#include <QActionGroup>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QStackedWidget>
#include <QWidgetAction>

#include "app/ui/qt_text.h"
#include "mainwindow/ui/application_menu.h"
#include "mainwindow/ui/command_router.h"
#include "mainwindow/ui/my_ribbon_bar.h"
#include "mainwindow/ui/ribbon_button.h"
#include "mainwindow/ui/ribbon_colour_button.h"
#include "mainwindow/ui/ribbon_gallery.h"
#include "mainwindow/ui/ribbon_icons.h"
#include "mainwindow/ui/ribbon_paint.h"
#include "mainwindow/ui/ribbon_panel.h"
#include "mainwindow/ui/ribbon_slider.h"
#include "mainwindow/ui/ribbon_spin_edit.h"
#include "resources/command_ids.h"
#include "resources/texts.h"

namespace palvex::ui {
namespace {

using Style = RibbonButton::Style;

bool IsMenuItem(const CommandInfo& row) {
    return row.panel.source.starts_with("ID_");
}

std::string_view TabName(CommandPlace place) {
    switch (place) {
        case CommandPlace::Home:
            return texts::kHomeTab;
        case CommandPlace::Pen:
            return texts::kPenTab;
        default:
            return texts::kBarrierTab;
    }
}

ColourPalette::Options PaletteFor(int id) {
    ColourPalette::Options options;
    options.more = true;
    if (id == cmd::ID_TRANS_COL) {
        options.automatic = true;
        options.suggested = true;
        options.boxSize = 22;
    } else if (id == cmd::ID_BK_COL) {
        options.automatic = true;
    }
    return options;
}

}  // namespace

RibbonBuilder::RibbonBuilder(CMyRibbonBar& ribbon, CommandRouter& router,
                             AskColourFunction askColour)
    : ribbon_(ribbon), router_(router), askColour_(std::move(askColour)) {}

void RibbonBuilder::Build() {
    for (const CommandInfo& row : CommandTable()) {
        if (IsMenuItem(row)) {
            const auto parent = parents_.find(row.panel.source);
            if (parent != parents_.end()) {
                AddMenuItem(row, parent->second);
            }
            continue;
        }
        switch (row.place) {
            case CommandPlace::ApplicationMenu:
                AddApplicationMenuRow(row);
                break;
            case CommandPlace::QuickAccess:
                AddQuickAccess(row);
                break;
            case CommandPlace::TabRow:
                AddTabRow(row);
                break;
            case CommandPlace::Home:
            case CommandPlace::Pen:
            case CommandPlace::Barrier:
                AddTabElement(row);
                break;
            case CommandPlace::None:
                break;
        }
    }
    for (QWidget* page : ribbon_.pages_) {
        static_cast<QHBoxLayout*>(page->layout())->addStretch();
    }
}

void RibbonBuilder::Register(const CommandInfo& row, QWidget* widget, QMenu* menu,
                             ColourMenu* colours) {
    RibbonElement element;
    element.row = &row;
    element.widget = widget;
    element.action = router_.Action(row.id);
    element.menu = menu;
    element.colours = colours;
    const bool inTab = row.place == CommandPlace::Home || row.place == CommandPlace::Pen ||
                       row.place == CommandPlace::Barrier;
    element.panel = inTab ? panel_ : nullptr;
    element.tab = inTab ? tab_ : -1;
    ribbon_.Register(element);
}

RibbonButton* RibbonBuilder::MakeButton(const CommandInfo& row, int style) {
    QAction* action = router_.Action(row.id);
    RibbonButton* button = nullptr;
    const auto buttonStyle = static_cast<Style>(style);
    if (row.kind == CommandKind::ColourButton) {
        button = new RibbonColourButton(row, action, buttonStyle, PaletteFor(row.id), askColour_);
    } else if (row.kind == CommandKind::Gallery) {
        button = new RibbonGallery(row, action);
    } else {
        button = new RibbonButton(row, action, buttonStyle);
    }
    if (row.kind != CommandKind::Gallery && buttonStyle != Style::Group) {
        button->SetPicture(CommandIcon(row.id));
    }
    if (row.kind == CommandKind::SplitButton || row.kind == CommandKind::MenuButton ||
        row.kind == CommandKind::ColourButton) {
        parents_[row.name] = Parent{button, nullptr, row.place == CommandPlace::ApplicationMenu};
    }
    return button;
}

void RibbonBuilder::AddApplicationMenuRow(const CommandInfo& row) {
    ApplicationMenu* menu = ribbon_.appMenu_;
    if (row.kind == CommandKind::FootButton) {
        RibbonButton* button = MakeButton(row, static_cast<int>(Style::Small));
        button->setMinimumWidth(button->sizeHint().width() + 12);
        menu->AddFootButton(button);
        Register(row, button);
        return;
    }
    RibbonButton* entry = MakeButton(row, static_cast<int>(Style::MenuEntry));
    menu->AddEntry(entry);
    Register(row, entry);
}

void RibbonBuilder::AddQuickAccess(const CommandInfo& row) {
    RibbonButton* button = MakeButton(row, static_cast<int>(Style::IconOnly));
    button->setParent(&ribbon_);
    ribbon_.quickAccess_->addWidget(button);
    Register(row, button);
}

void RibbonBuilder::AddTabRow(const CommandInfo& row) {
    RibbonButton* button = MakeButton(row, static_cast<int>(Style::IconOnly));
    button->setParent(&ribbon_);
    ribbon_.tabRow_->addWidget(button, 0, Qt::AlignVCenter);
    Register(row, button);
}

void RibbonBuilder::AddTabElement(const CommandInfo& row) {
    if (row.place != tabPlace_) {
        tabPlace_ = row.place;
        page_ = ribbon_.AddTab(ToQString(TabName(row.place)));
        tab_ = ribbon_.TabCount() - 1;
        panel_ = nullptr;
    }
    const QString title = ToQString(row.panel);
    if (panel_ == nullptr || panel_->Title() != title) {
        auto& panels = ribbon_.panels_[static_cast<std::size_t>(tab_)];
        panel_ = new RibbonPanel(title, static_cast<int>(panels.size()), page_);
        page_->layout()->addWidget(panel_);
        panels.push_back(panel_);
        groupRow_ = nullptr;
    }
    if (row.kind == CommandKind::GroupButton) {
        if (groupRow_ == nullptr) {
            groupRow_ = new QWidget(panel_);
            auto* layout = new QHBoxLayout(groupRow_);
            layout->setContentsMargins(2, 0, 2, 0);
            layout->setSpacing(0);
            panel_->AddSmall(groupRow_, row.breakBefore);
        }
        RibbonButton* button = MakeButton(row, static_cast<int>(Style::Group));
        groupRow_->layout()->addWidget(button);
        Register(row, button);
        return;
    }
    groupRow_ = nullptr;
    QWidget* element = MakeElement(row);
    element->setParent(panel_);
    if (row.size == ElementSize::Large) {
        panel_->AddLarge(element);
    } else {
        panel_->AddSmall(element, row.breakBefore);
    }
    const auto* colourButton = qobject_cast<RibbonColourButton*>(element);
    Register(row, element, nullptr, colourButton != nullptr ? colourButton->Colours() : nullptr);
}

QWidget* RibbonBuilder::MakeElement(const CommandInfo& row) {
    QAction* action = router_.Action(row.id);
    switch (row.kind) {
        case CommandKind::Slider: {
            auto* slider = new RibbonSlider(row, action);
            CMyRibbonBar* ribbon = &ribbon_;
            QObject::connect(slider, &RibbonSlider::Moved, ribbon,
                             [ribbon, id = row.id](int at) { emit ribbon->SliderMoved(id, at); });
            return slider;
        }
        case CommandKind::Spin:
            return new RibbonSpinEdit(row, action);
        case CommandKind::CheckBox: {
            auto* box = new QCheckBox(DisplayText(ToQString(row.label)));
            box->setObjectName(ToQString(row.name));
            box->setProperty("commandId", row.id);
            box->setToolTip(PromptToolTip(row.prompt, ToQString(row.label)));
            box->setFocusPolicy(Qt::NoFocus);
            QObject::connect(box, &QCheckBox::clicked, action, [box, action] {
                box->setChecked(action->isChecked());  // the command decides
                action->trigger();
            });
            QObject::connect(action, &QAction::changed, box, [box, action] {
                box->setEnabled(action->isEnabled());
                box->setChecked(action->isChecked());
            });
            box->setEnabled(action->isEnabled());
            return box;
        }
        default:
            return MakeButton(row, static_cast<int>(row.size == ElementSize::Large ? Style::Large
                                                                                   : Style::Small));
    }
}

QMenu* RibbonBuilder::MenuOf(Parent& parent) {
    if (parent.menu != nullptr) {
        return parent.menu;
    }
    if (auto* colourButton = qobject_cast<RibbonColourButton*>(parent.button)) {
        parent.menu = colourButton->Colours();
        return parent.menu;
    }
    parent.menu = new QMenu(parent.button);
    parent.menu->setObjectName(parent.button->objectName() + "_items");
    QObject::connect(parent.menu, &QMenu::aboutToShow, &router_, &CommandRouter::UpdateActions);
    parent.button->SetMenu(parent.menu);
    return parent.menu;
}

void RibbonBuilder::AddMenuItem(const CommandInfo& row, Parent& parent) {
    if (parent.inApplicationMenu) {
        // The application menu lists an entry's items beside it, with their descriptions.
        RibbonButton* item = MakeButton(row, static_cast<int>(Style::MenuEntry));
        item->SetDescription(ToQString(PromptDescription(row)));
        const auto& entryRow = parent.button->Row();
        const CommandInfo* first = nullptr;
        for (const CommandInfo& other : CommandTable()) {
            if (other.panel.source == entryRow.name && !other.heading.empty()) {
                first = &other;
                break;
            }
        }
        ribbon_.appMenu_->AddItem(parent.button, item,
                                  ToQString(first != nullptr ? first->heading : entryRow.label));
        Register(row, item);
        return;
    }
    QMenu* menu = MenuOf(parent);
    if (row.breakBefore) {
        menu->addSeparator();
    }
    if (!row.heading.empty()) {
        AddMenuHeading(menu, ToQString(row.heading));
    }
    QAction* action = router_.Action(row.id);
    if (row.kind == CommandKind::ColourButton) {
        auto* colours =
            new ColourMenu(DisplayText(ToQString(row.label)), PaletteFor(row.id), askColour_, menu);
        colours->setObjectName(ToQString(row.name) + "_colours");
        colours->menuAction()->setToolTip(PromptToolTip(row.prompt, {}));
        QObject::connect(colours, &ColourMenu::ColourPicked, action, [action] {
            if (action->isEnabled()) {
                action->trigger();
            }
        });
        QObject::connect(action, &QAction::changed, colours,
                         [colours, action] { colours->setEnabled(action->isEnabled()); });
        colours->setEnabled(action->isEnabled());
        menu->addMenu(colours);
        Register(row, nullptr, menu, colours);
        return;
    }
    if (parent.button->Row().id == cmd::ID_VIEW_APPLOOK_WIN_2000) {
        // The looks are one choice: the menu marks the current one as a radio item.
        if (looks_ == nullptr) {
            looks_ = new QActionGroup(menu);
            looks_->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
        }
        action->setCheckable(true);
        looks_->addAction(action);
    } else if (action->icon().isNull() && parent.button->Row().id != cmd::ID_ZOOM2) {
        action->setIcon(CommandIcon(row.id));
    }
    menu->addAction(action);
    Register(row, nullptr, menu);
}

}  // namespace palvex::ui
