#include "mainwindow/ui/command_router.h"

#include <QAction>

#include "app/ui/qt_text.h"
#include "resources/command_table.h"

namespace palvex::ui {

bool CommandRouter::Dispatch(int id) {
    if (!StateOf(id).enabled) {
        return false;
    }
    for (CommandTarget* target : targets_) {
        if (target->OnCommand(id)) {
            emit Dispatched(id);
            UpdateActions();
            return true;
        }
    }
    return false;
}

CommandUiState CommandRouter::StateOf(int id) const {
    CommandUiState state;
    for (CommandTarget* target : targets_) {
        if (target->OnUpdateCommand(id, state)) {
            return state;
        }
    }
    state.enabled = false;
    return state;
}

QAction* CommandRouter::Action(int id) {
    if (const auto it = actions_.find(id); it != actions_.end()) {
        return it->second;
    }
    const CommandInfo* command = FindCommand(id);
    if (command == nullptr) {
        return nullptr;
    }
    auto* action = new QAction(ToQString(command->label), this);
    action->setObjectName(ToQString(command->name));
    action->setData(id);
    if (!command->prompt.empty()) {
        // Tooltips show the description, a line break and the title.
        action->setToolTip(ToQString(PromptDescription(*command)) + "\n" +
                           ToQString(PromptTitle(*command)));
        action->setStatusTip(ToQString(PromptDescription(*command)));
    }
    connect(action, &QAction::triggered, this, [this, id] { Dispatch(id); });
    actions_.emplace(id, action);
    const CommandUiState state = StateOf(id);
    action->setEnabled(state.enabled);
    return action;
}

void CommandRouter::UpdateActions() {
    for (const auto& [id, action] : actions_) {
        const CommandUiState state = StateOf(id);
        action->setEnabled(state.enabled);
        action->setCheckable(state.checked || action->isCheckable());
        action->setChecked(state.checked);
        if (state.text) {
            action->setText(*state.text);
        }
    }
}

}  // namespace palvex::ui
