#pragma once

#include <QImage>
#include <QWidget>
#include <array>
#include <functional>

#include "dialogs/print_layout.h"

namespace palvex::ui {

// The paper with the image on it as the page prints, and the margin lines that can be dragged
// while they are shown.
class PrintPreview final : public QWidget {
    Q_OBJECT

public:
    enum Side { Left, Right, Top, Bottom };

    struct State {
        LayoutRect paper;                     // preview pixels
        std::array<double, 4> margins{};      // preview pixels, by Side
        std::array<double, 4> lowerLimits{};  // preview pixels from the paper edge
        double upperLimit = 0;                // 50 mm in preview pixels
        double scale = 0;                     // preview pixels an image pixel
        double tileWidth = 0;                 // image pixels a page, as the printer lays them
        double tileHeight = 0;
        int columns = 1;
        int page = 1;
        bool fitOnePage = false;
        bool showMargins = false;
    };

    explicit PrintPreview(QWidget* parent = nullptr);

    void SetImage(QImage image) { image_ = std::move(image); }
    void SetState(const State& state);
    const State& Current() const { return state_; }
    // The printable part of the paper; empty when the margins leave nothing.
    LayoutRect PrintableArea() const;
    // The part of the image the current page shows.
    LayoutRect Source() const;
    // The line within 3 pixels of `point`, asked left, top, right, bottom; -1 for none.
    int HitMargin(QPoint point) const;

    // A drag ended `pixels` from the paper edge of `side`.
    std::function<void(int side, double pixels)> marginDragged;
    // The frame changed size: the page must be laid out again.
    std::function<void()> resized;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    double LinePosition(int side) const;
    double DragDistance(QPoint point) const;

    QImage image_;
    State state_;
    int dragging_ = -1;
    double dragDistance_ = 0;
};

}  // namespace palvex::ui
