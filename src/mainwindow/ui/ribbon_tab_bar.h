#pragma once

#include <QTabBar>

namespace palvex::ui {

// The tab names of the ribbon, painted in the application look; the active tab joins the
// panel area below it.
class RibbonTabBar final : public QTabBar {
    Q_OBJECT

public:
    explicit RibbonTabBar(QWidget* parent = nullptr);

protected:
    QSize tabSizeHint(int index) const override;
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace palvex::ui
