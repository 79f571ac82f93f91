#pragma once

#include <QAbstractButton>
#include <QIcon>
#include <QKeySequence>

#include "resources/command_table.h"

class QAction;
class QMenu;

namespace palvex::ui {

// A button of the ribbon or of the application menu, bound to one command's action: it shows
// the action's label, enabled and checked state, and triggers the action when clicked. Split
// buttons run their command from the upper part and open their items from the arrow; menu
// buttons only open their items.
class RibbonButton : public QAbstractButton {
    Q_OBJECT

public:
    enum class Style {
        Large,      // a 32-pixel picture over a two-line label
        Small,      // a 16-pixel picture beside its label
        IconOnly,   // quick access toolbar and tab row
        Group,      // a cell of a row of small text buttons
        MenuEntry,  // a wide entry of the application menu
    };

    RibbonButton(const CommandInfo& row, QAction* action, Style style, QWidget* parent = nullptr);

    const CommandInfo& Row() const { return row_; }
    int CommandId() const { return row_.id; }
    Style ButtonStyle() const { return style_; }
    QAction* Action() const { return action_; }

    void SetMenu(QMenu* menu);
    QMenu* Menu() const { return menu_; }
    // An arrow without a menu: its owner shows the items itself (the application menu).
    void SetArrow(bool on);
    bool HasArrow() const;
    // Whether the button's own command can run now (the arrow of a split button opens its items
    // even when it cannot).
    bool CommandEnabled() const { return commandEnabled_; }
    bool CommandChecked() const { return checked_; }
    QString Label() const;
    // The key marked in the label ("開く(&O)" gives O); empty when none is.
    QKeySequence AccessKey() const;

    void SetPicture(const QIcon& picture);
    QIcon Picture() const { return picture_; }
    // A second line under the label (application menu entries).
    void SetDescription(const QString& text);

    // Opens the items as the arrow does; returns when the menu closes.
    void ShowMenu();
    // Runs the button's own command as a click on it does.
    virtual void RunCommand();

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

signals:
    // The pointer reached the arrow, or the arrow was clicked.
    void ArrowEntered();
    // The button's own command is about to run (a popup holding the button closes first).
    void AboutToRun();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    // Space and Enter run the command, Down (Right in the application menu) opens the items.
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

    // The picture area; colour buttons add their colour bar there.
    virtual void PaintPicture(QPainter& painter, const QRect& area);
    QRect PictureRect() const;
    QRect ArrowRect() const;  // the part that opens the items; empty for plain buttons
    bool OpensOnPress() const;

private:
    void SyncFromAction();
    bool AnyItemEnabled() const;
    void PaintLarge(QPainter& painter);
    void PaintSmall(QPainter& painter);
    void PaintEntry(QPainter& painter);
    void PaintGroup(QPainter& painter);
    void PaintFocus(QPainter& painter);
    QColor TextColour() const;

    const CommandInfo& row_;
    QAction* action_;
    Style style_;
    QMenu* menu_ = nullptr;
    bool arrow_ = false;
    QIcon picture_;
    QString description_;
    bool commandEnabled_ = true;
    bool checked_ = false;
    bool overArrow_ = false;
    bool menuOpen_ = false;
};

}  // namespace palvex::ui
