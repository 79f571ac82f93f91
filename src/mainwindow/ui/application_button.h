#pragma once

#include <QAbstractButton>

namespace palvex::ui {

// The application button at the left of the ribbon: a round button spanning the quick access
// row and the tab row in the Office looks, a "ファイル" tab in the others. Clicking it opens the
// application menu.
class ApplicationButton final : public QAbstractButton {
    Q_OBJECT

public:
    explicit ApplicationButton(QWidget* parent = nullptr);

    QSize sizeHint() const override;
    // Where the menu opens: under the orb, or under the tab.
    QPoint MenuPosition() const;
    void SetOpen(bool open);

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    // Space, Enter and Down open the menu.
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void PaintOrb(QPainter& painter);
    void PaintTab(QPainter& painter);

    bool open_ = false;
};

}  // namespace palvex::ui
