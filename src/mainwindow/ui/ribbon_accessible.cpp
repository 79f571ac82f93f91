#include "mainwindow/ui/ribbon_accessible.h"

#include <QAccessibleValueInterface>
#include <QAccessibleWidget>
#include <QAction>
#include <QWidget>

#include "app/ui/qt_text.h"
#include "mainwindow/ui/ribbon_button.h"
#include "mainwindow/ui/ribbon_paint.h"
#include "mainwindow/ui/ribbon_slider.h"
#include "resources/command_ids.h"

namespace palvex::ui {
namespace {

// Icons that have neither label nor prompt stand for another command.
int NamesakeOf(int id) {
    return id == cmd::ID_FILE_PRINT_DIRECT ? cmd::ID_FILE_PRINT : id;
}

QAccessible::Role RoleOf(const RibbonButton& button) {
    switch (button.Row().kind) {
        case CommandKind::MenuButton:
        case CommandKind::Gallery:
            return QAccessible::ButtonMenu;
        case CommandKind::SplitButton:
        case CommandKind::ColourButton:
            return QAccessible::ButtonDropDown;
        default:
            return button.HasArrow() ? QAccessible::ButtonDropDown : QAccessible::Button;
    }
}

// The buttons are painted by the ribbon itself: Qt's generic button would neither know the
// arrow of a split button nor keep an empty description empty (it falls back to the tooltip).
class RibbonButtonAccessible final : public QAccessibleWidget {
public:
    explicit RibbonButtonAccessible(RibbonButton* button)
        : QAccessibleWidget(button, RoleOf(*button)) {}

    QString text(QAccessible::Text kind) const override {
        switch (kind) {
            case QAccessible::Name:
                return widget()->accessibleName();
            case QAccessible::Description:
                return widget()->accessibleDescription();
            case QAccessible::Accelerator:
                return Button()->AccessKey().toString(QKeySequence::NativeText);
            default:
                return QAccessibleWidget::text(kind);
        }
    }

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        const RibbonButton* button = Button();
        if (button->Action() != nullptr && button->Action()->isCheckable()) {
            state.checkable = true;
            state.checked = button->CommandChecked();
        }
        state.pressed = button->isDown();
        state.hasPopup = button->HasArrow();
        return state;
    }

    QStringList actionNames() const override {
        QStringList names;
        if (!widget()->isEnabled()) {
            return names;
        }
        const RibbonButton* button = Button();
        const bool opensOnly = RoleOf(*button) == QAccessible::ButtonMenu;
        if (!opensOnly && button->CommandEnabled()) {
            names << pressAction();
        }
        if (button->HasArrow()) {
            names << showMenuAction();
        }
        return names;
    }

    void doAction(const QString& name) override {
        if (!actionNames().contains(name)) {
            return;
        }
        if (name == showMenuAction()) {
            Button()->ShowMenu();
        } else {
            Button()->click();
        }
    }

    QStringList keyBindingsForAction(const QString& name) const override {
        if (name == pressAction()) {
            return {QKeySequence(Qt::Key_Space).toString(QKeySequence::NativeText)};
        }
        if (name == showMenuAction()) {
            return {QKeySequence(Qt::Key_Down).toString(QKeySequence::NativeText)};
        }
        return {};
    }

private:
    RibbonButton* Button() const { return static_cast<RibbonButton*>(widget()); }
};

// The ribbon's sliders are painted too: their position is offered as a value, and setting it
// moves the slider as the user does, running its command.
class RibbonSliderAccessible final : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit RibbonSliderAccessible(RibbonSlider* slider)
        : QAccessibleWidget(slider, QAccessible::Slider) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::ValueInterface) {
            return static_cast<QAccessibleValueInterface*>(this);
        }
        return QAccessibleWidget::interface_cast(type);
    }

    QString text(QAccessible::Text kind) const override {
        switch (kind) {
            case QAccessible::Name:
                return widget()->accessibleName();
            case QAccessible::Description:
                return widget()->accessibleDescription();
            case QAccessible::Value:
                return QString::number(Slider()->Position());
            default:
                return QAccessibleWidget::text(kind);
        }
    }

    QVariant currentValue() const override { return Slider()->Position(); }
    void setCurrentValue(const QVariant& value) override {
        if (widget()->isEnabled()) {
            Slider()->Step(value.toInt() - Slider()->Position());
        }
    }
    QVariant maximumValue() const override { return Slider()->Maximum(); }
    QVariant minimumValue() const override { return Slider()->Minimum(); }
    QVariant minimumStepSize() const override { return 1; }

    QStringList actionNames() const override {
        if (!widget()->isEnabled()) {
            return {};
        }
        return {increaseAction(), decreaseAction()};
    }

    void doAction(const QString& name) override {
        if (!widget()->isEnabled()) {
            return;
        }
        if (name == increaseAction()) {
            Slider()->Step(1);
        } else if (name == decreaseAction()) {
            Slider()->Step(-1);
        }
    }

private:
    RibbonSlider* Slider() const { return static_cast<RibbonSlider*>(widget()); }
};

QAccessibleInterface* RibbonFactory(const QString& /*key*/, QObject* object) {
    // Asked once for each class of the object's ancestry, most derived first.
    if (auto* button = qobject_cast<RibbonButton*>(object)) {
        return new RibbonButtonAccessible(button);
    }
    if (auto* slider = qobject_cast<RibbonSlider*>(object)) {
        return new RibbonSliderAccessible(slider);
    }
    return nullptr;
}

}  // namespace

QString AccessibleLabel(const QString& shownLabel) {
    QString text = DisplayText(shownLabel).trimmed();
    // The ellipsis and the colon, also full width, are decoration a reader need not speak.
    const QString decorations[] = {QStringLiteral("..."), QString(QChar(0x2026)),
                                   QStringLiteral(":"), QString(QChar(0xFF1A))};
    for (const QString& decoration : decorations) {
        if (text.endsWith(decoration)) {
            text.chop(decoration.size());
            break;
        }
    }
    return text.trimmed();
}

QString CommandAccessibleName(const CommandInfo& row, const QString& shownLabel) {
    const QString label = AccessibleLabel(shownLabel);
    if (!label.isEmpty()) {
        return label;
    }
    if (!PromptTitle(row).empty()) {
        return ToQString(PromptTitle(row));
    }
    const CommandInfo* namesake = FindCommand(NamesakeOf(row.id));
    if (namesake != nullptr && namesake != &row) {
        return CommandAccessibleName(*namesake, ToQString(namesake->label));
    }
    return {};
}

QString CommandAccessibleDescription(const CommandInfo& row) {
    return ToQString(PromptDescription(row));
}

void NameAfterCommand(QWidget* widget, const CommandInfo& row, const QString& shownLabel) {
    const QString name = CommandAccessibleName(row, shownLabel);
    if (widget->accessibleName() != name) {
        widget->setAccessibleName(name);
    }
    const QString description = CommandAccessibleDescription(row);
    if (widget->accessibleDescription() != description) {
        widget->setAccessibleDescription(description);
    }
}

void InstallRibbonAccessibility() {
    static bool installed = false;
    if (!installed) {
        installed = true;
        QAccessible::installFactory(RibbonFactory);
    }
}

}  // namespace palvex::ui
