#pragma once

#include <QWidget>
#include <vector>

#include "image/colour.h"

namespace palvex::ui {

// The colour grid of a colour button's popup: an optional automatic entry (no colour), an
// optional group of suggested colours, the standard colours and an optional entry that opens
// the colour dialog.
class ColourPalette final : public QWidget {
    Q_OBJECT

public:
    struct Options {
        bool automatic = false;
        bool suggested = false;
        bool more = false;
        int boxSize = 16;
    };

    explicit ColourPalette(Options options, QWidget* parent = nullptr);

    void SetCurrent(Colour colour);
    Colour Current() const { return current_; }

    // Where an entry is drawn, for keyboard-less use in tests; empty when it is not shown.
    QRect BoxRect(Colour colour) const;
    QRect AutomaticRect() const;
    QRect MoreRect() const;

    QSize sizeHint() const override;

signals:
    void ColourChosen(Colour colour);  // kNoColour for the automatic entry
    void MoreColoursChosen();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    bool event(QEvent* event) override;

private:
    enum class Kind { Box, Automatic, More, Heading };
    struct Item {
        Kind kind;
        QRect rect;
        Colour colour = kNoColour;
        QString text;
    };

    void Layout();
    int ItemAt(const QPoint& point) const;

    Options options_;
    std::vector<Item> items_;
    QSize size_;
    Colour current_ = kNoColour;
    int hover_ = -1;
};

}  // namespace palvex::ui
