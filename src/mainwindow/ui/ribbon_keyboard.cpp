// The ribbon from the keyboard and for screen readers: the Tab order and the names of the
// controls that do not come from the command table.

#include <QSpinBox>

#include "mainwindow/ui/application_button.h"
#include "mainwindow/ui/my_ribbon_bar.h"
#include "mainwindow/ui/ribbon_paint.h"
#include "mainwindow/ui/ribbon_spin_edit.h"
#include "mainwindow/ui/ribbon_tab_bar.h"

namespace palvex::ui {
namespace {

// A tab's name is shown with a hint after a run of blanks ("ホーム   WClick , Ctrl+F1"); the
// hint is no part of the name.
QString TabNameWithoutHint(const QString& shown) {
    const qsizetype hint = shown.indexOf("  ");
    return (hint < 0 ? shown : shown.left(hint)).trimmed();
}

// A spin edit is reached at its edit.
QWidget* KeyboardTarget(QWidget* widget) {
    auto* spin = qobject_cast<RibbonSpinEdit*>(widget);
    return spin != nullptr ? static_cast<QWidget*>(spin->Edit()) : widget;
}

}  // namespace

void CMyRibbonBar::SetUpKeyboard() {
    appButton_->setAccessibleName(DisplayText(appButton_->text()));
    appButton_->setAccessibleDescription(appButton_->toolTip());
    for (int tab = 0; tab < tabs_->count(); ++tab) {
        tabs_->setAccessibleTabName(tab, TabNameWithoutHint(tabs_->tabText(tab)));
    }
    const std::vector<QWidget*> order = KeyboardOrder();
    for (std::size_t i = 1; i < order.size(); ++i) {
        setTabOrder(order[i - 1], order[i]);
    }
}

std::vector<QWidget*> CMyRibbonBar::KeyboardOrder() const {
    std::vector<QWidget*> order{appButton_};
    const auto add = [&order](const RibbonElement& element) {
        if (element.widget != nullptr) {
            order.push_back(KeyboardTarget(element.widget));
        }
    };
    for (const RibbonElement& element : elements_) {
        if (element.row->place == CommandPlace::QuickAccess) {
            add(element);
        }
    }
    order.push_back(tabs_);
    // The command table lists each tab's elements panel by panel, in the order they show.
    for (const RibbonElement& element : elements_) {
        if (element.tab >= 0) {
            add(element);
        }
    }
    for (const RibbonElement& element : elements_) {
        if (element.row->place == CommandPlace::TabRow) {
            add(element);
        }
    }
    return order;
}

QWidget* CMyRibbonBar::FirstKeyboardControl() const {
    for (QWidget* widget : KeyboardOrder()) {
        if (widget->isVisible() && widget->isEnabled() && widget->focusPolicy() != Qt::NoFocus) {
            return widget;
        }
    }
    return nullptr;
}

}  // namespace palvex::ui
