#pragma once

#include <QWidget>

namespace palvex::ui {

// The items of the pen-shape gallery: 48 x 40 pictures, three a row.
class PenStyleGrid final : public QWidget {
    Q_OBJECT

public:
    explicit PenStyleGrid(QWidget* parent = nullptr);

    int Selected() const { return selected_; }
    void SetSelected(int item);
    QRect ItemRect(int item) const;
    // The item the pointer or the arrow keys stand on; -1 for none.
    int Highlighted() const { return hover_; }
    void SetHighlighted(int item);
    // Selects the item and reports it chosen, as a click on it does.
    void ChooseItem(int item);
    QSize sizeHint() const override;

signals:
    void ItemChosen(int item);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    // The arrows move among the items, Enter or Space chooses.
    void keyPressEvent(QKeyEvent* event) override;
    bool event(QEvent* event) override;

private:
    int ItemAt(const QPoint& point) const;
    void NameAfter(int item);

    int selected_ = 0;
    int hover_ = -1;
};

}  // namespace palvex::ui
