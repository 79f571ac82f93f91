#pragma once

#include <QWidget>

#include "resources/command_table.h"

class QAction;

namespace palvex::ui {

// A slider of the ribbon with a step button at each end (the zoom buttons). Moving it, by
// dragging, clicking the track or a step button, sets the position and runs its command.
class RibbonSlider final : public QWidget {
    Q_OBJECT

public:
    RibbonSlider(const CommandInfo& row, QAction* action, QWidget* parent = nullptr);

    int CommandId() const { return row_.id; }
    int Position() const { return position_; }
    int Minimum() const { return low_; }
    int Maximum() const { return high_; }
    // Sets the position without running the command; clamped to the range.
    void SetPosition(int position);
    void SetRange(int low, int high);
    void SetStepButtons(bool on);

    // What a step button does.
    void Step(int delta);

    QRect TrackRect() const;
    QRect DecreaseRect() const;
    QRect IncreaseRect() const;
    QSize sizeHint() const override;

signals:
    void Moved(int position);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    // The arrows step as the step buttons do; Home and End go to the ends.
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void AnnounceValue();
    void MoveTo(int position);
    int PositionAt(int x) const;
    int ThumbX() const;

    const CommandInfo& row_;
    QAction* action_;
    int low_;
    int high_;
    int position_;
    int trackWidth_;
    bool stepButtons_ = true;
    bool dragging_ = false;
    QPoint hover_{-1, -1};
};

}  // namespace palvex::ui
