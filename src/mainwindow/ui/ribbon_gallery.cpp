#include "mainwindow/ui/ribbon_gallery.h"

#include <QAction>
#include <QMenu>
#include <QWidgetAction>

#include "app/ui/qt_text.h"
#include "mainwindow/ui/pen_style_grid.h"
#include "mainwindow/ui/ribbon_icons.h"
#include "mainwindow/ui/ribbon_paint.h"
#include "resources/texts.h"

namespace palvex::ui {

RibbonGallery::RibbonGallery(const CommandInfo& row, QAction* action, QWidget* parent)
    : RibbonButton(row, action, Style::Large, parent) {
    auto* menu = new QMenu(this);
    menu->setObjectName(objectName() + "_items");
    AddMenuHeading(menu, ToQString(texts::kPenStyleHeading));
    grid_ = new PenStyleGrid(menu);
    auto* holder = new QWidgetAction(menu);
    holder->setDefaultWidget(grid_);
    menu->addAction(holder);
    SetMenu(menu);
    // Opened from the keyboard, the arrows move among the shapes at once.
    connect(menu, &QMenu::aboutToShow, this, [this] {
        if (hasFocus()) {
            grid_->SetHighlighted(grid_->Selected());
            grid_->setFocus(Qt::TabFocusReason);
        }
    });
    connect(grid_, &PenStyleGrid::ItemChosen, this, [this, menu](int item) {
        menu->hide();
        Choose(item);
    });
    SetSelectedItem(0);
}

int RibbonGallery::SelectedItem() const {
    return grid_->Selected();
}

void RibbonGallery::SetSelectedItem(int item) {
    if (item < 0 || item >= kPenShapeCount) {
        return;
    }
    grid_->SetSelected(item);
    SetPicture(QIcon(PenShapePicture(item)));
}

void RibbonGallery::Choose(int item) {
    SetSelectedItem(item);
    if (Action() != nullptr && CommandEnabled()) {
        Action()->trigger();
    }
}

}  // namespace palvex::ui
