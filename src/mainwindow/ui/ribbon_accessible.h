#pragma once

#include <QString>

#include "resources/command_table.h"

class QWidget;

namespace palvex::ui {

// What a screen reader says for an element: the label as shown, without its access-key mark and
// without a trailing ":" or "..." that only leads the eye to the value beside it.
QString AccessibleLabel(const QString& shownLabel);

// An element's name: its label as shown now; an element without a label (an icon) is named by
// its prompt's title, or by the command it stands for.
QString CommandAccessibleName(const CommandInfo& row, const QString& shownLabel);
// The prompt's description; empty for a row without a prompt.
QString CommandAccessibleDescription(const CommandInfo& row);

// Names `widget` after its row.
void NameAfterCommand(QWidget* widget, const CommandInfo& row, const QString& shownLabel);

// Lets Qt's accessibility ask the ribbon's own widgets for their roles, actions and values.
// Safe to call more than once.
void InstallRibbonAccessibility();

}  // namespace palvex::ui
