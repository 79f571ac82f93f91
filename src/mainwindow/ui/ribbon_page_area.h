#pragma once

#include <QScrollArea>

class QToolButton;

namespace palvex::ui {

// Holds one tab's panels. A window too narrow for them keeps every panel at its own width and
// shows arrows at the ends that scroll the row, instead of squeezing the labels into each other.
class RibbonPageArea final : public QScrollArea {
    Q_OBJECT

public:
    explicit RibbonPageArea(QWidget* page, QWidget* parent = nullptr);

    QToolButton* LeftArrow() const { return left_; }
    QToolButton* RightArrow() const { return right_; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void UpdateArrows();
    void ScrollBy(int direction);

    QToolButton* left_;
    QToolButton* right_;
};

}  // namespace palvex::ui
