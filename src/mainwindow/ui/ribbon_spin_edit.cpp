#include "mainwindow/ui/ribbon_spin_edit.h"

#include <QAction>
#include <QHBoxLayout>
#include <QLabel>
#include <QSpinBox>

#include "app/ui/clamping_spin_box.h"
#include "app/ui/qt_text.h"
#include "mainwindow/ui/ribbon_accessible.h"
#include "mainwindow/ui/ribbon_paint.h"

namespace palvex::ui {

RibbonSpinEdit::RibbonSpinEdit(const CommandInfo& row, QAction* action, QWidget* parent)
    : QWidget(parent),
      row_(row),
      action_(action),
      label_(new QLabel(DisplayText(ToQString(row.label)), this)),
      edit_(new ClampingSpinBox(this)) {
    setObjectName(ToQString(row.name));
    setProperty("commandId", row.id);
    setToolTip(PromptToolTip(row.prompt, ToQString(row.label)));
    edit_->setObjectName(objectName() + "_edit");
    // The edit is what the keyboard and a screen reader reach; it answers for the whole element.
    label_->setBuddy(edit_);
    NameAfterCommand(this, row_, label_->text());
    NameAfterCommand(edit_, row_, label_->text());
    edit_->setRange(row.range.low, row.range.high);
    edit_->setValue(row.range.initial);
    edit_->setAlignment(Qt::AlignRight);
    // The width is the edit's own; the spin buttons come on top of it.
    edit_->setFixedWidth(row.range.width + 18);
    edit_->setFixedHeight(20);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(3, 1, 2, 1);
    layout->setSpacing(4);
    layout->addWidget(label_);
    layout->addStretch();
    layout->addWidget(edit_);
    connect(edit_, &QSpinBox::valueChanged, this, [this] {
        if (!setting_ && action_ != nullptr) {
            action_->trigger();
        }
    });
    if (action_ != nullptr) {
        connect(action_, &QAction::changed, this, [this] { setEnabled(action_->isEnabled()); });
        setEnabled(action_->isEnabled());
    }
}

QString RibbonSpinEdit::Label() const {
    return label_->text();
}

QString RibbonSpinEdit::Text() const {
    return edit_->text();
}

void RibbonSpinEdit::SetText(const QString& text) {
    setting_ = true;
    // The number the text starts with, as the edit holds numbers only.
    qsizetype digits = 0;
    while (digits < text.size() && (text[digits].isDigit() || (digits == 0 && text[0] == '-'))) {
        ++digits;
    }
    edit_->setValue(text.left(digits).toInt());
    setting_ = false;
}

}  // namespace palvex::ui
