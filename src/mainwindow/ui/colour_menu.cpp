#include "mainwindow/ui/colour_menu.h"

#include <QWidgetAction>

#include "mainwindow/ui/ribbon_icons.h"

namespace palvex::ui {

ColourMenu::ColourMenu(const QString& title, ColourPalette::Options options,
                       AskColourFunction askColour, QWidget* parent)
    : QMenu(title, parent),
      palette_(new ColourPalette(options, this)),
      askColour_(std::move(askColour)) {
    auto* holder = new QWidgetAction(this);
    holder->setDefaultWidget(palette_);
    addAction(holder);
    connect(palette_, &ColourPalette::ColourChosen, this, &ColourMenu::Pick);
    connect(palette_, &ColourPalette::MoreColoursChosen, this, &ColourMenu::PickMoreColours);
    SetCurrentColour(colour_);
}

void ColourMenu::SetCurrentColour(Colour colour) {
    colour_ = colour;
    palette_->SetCurrent(colour);
    setIcon(QIcon(ColourSwatch(colour, 16)));
    emit ColourShown(colour);
}

void ColourMenu::CloseMenus() {
    // A colour entry inside another menu closes the whole chain, as a menu command does.
    for (QWidget* w = this; w != nullptr; w = w->parentWidget()) {
        if (auto* menu = qobject_cast<QMenu*>(w)) {
            menu->hide();
        }
    }
}

void ColourMenu::Pick(Colour colour) {
    CloseMenus();
    SetCurrentColour(colour);
    emit ColourPicked(colour);
}

void ColourMenu::PickMoreColours() {
    CloseMenus();
    if (!askColour_) {
        return;
    }
    if (const std::optional<Colour> chosen = askColour_(colour_)) {
        SetCurrentColour(*chosen);
        emit ColourPicked(*chosen);
    }
}

}  // namespace palvex::ui
