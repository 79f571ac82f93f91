#pragma once

#include <QObject>
#include <QString>
#include <map>
#include <optional>
#include <vector>

class QAction;

namespace palvex::ui {

// How a command shows right now.
struct CommandUiState {
    bool enabled = true;
    bool checked = false;
    std::optional<QString> text;  // a label that changes with the state
};

// A receiver of commands: the canvas view, the main frame and the application, asked in that
// order.
class CommandTarget {
public:
    virtual ~CommandTarget() = default;
    // True when this target has a handler for `id` (and ran it).
    virtual bool OnCommand(int id) = 0;
    // True when this target handles `id`; it may then change the state it shows.
    virtual bool OnUpdateCommand(int id, CommandUiState& state) = 0;
};

// Routes every command to the first target that handles it, and keeps one QAction a command
// in step with its state: a command no target handles is shown disabled.
class CommandRouter final : public QObject {
    Q_OBJECT

public:
    explicit CommandRouter(QObject* parent = nullptr) : QObject(parent) {}

    void SetTargets(std::vector<CommandTarget*> targets) { targets_ = std::move(targets); }
    bool Dispatch(int id);
    CommandUiState StateOf(int id) const;

    // The action of a command of the command table, made on first use; nullptr for an unknown
    // value.
    QAction* Action(int id);
    // Refreshes every action made so far.
    void UpdateActions();

signals:
    void Dispatched(int id);

private:
    std::vector<CommandTarget*> targets_;
    std::map<int, QAction*> actions_;
};

}  // namespace palvex::ui
