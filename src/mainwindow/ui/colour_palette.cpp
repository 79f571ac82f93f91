#include "mainwindow/ui/colour_palette.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <array>

#include "app/ui/qt_colour.h"
#include "app/ui/qt_text.h"
#include "mainwindow/ui/ribbon_icons.h"
#include "mainwindow/ui/ribbon_look.h"
#include "mainwindow/ui/ribbon_paint.h"
#include "resources/texts.h"

namespace palvex::ui {
namespace {

constexpr int kMargin = 5;
constexpr int kGap = 3;
constexpr int kColumns = 8;
constexpr int kRowHeight = 24;

// The standard colours, eight a row from dark to light.
constexpr std::array<Colour, 40> kStandard = {
    Rgb(0, 0, 0),       Rgb(153, 51, 0),    Rgb(51, 51, 0),     Rgb(0, 51, 0),
    Rgb(0, 51, 102),    Rgb(0, 0, 128),     Rgb(51, 51, 153),   Rgb(51, 51, 51),
    Rgb(128, 0, 0),     Rgb(255, 102, 0),   Rgb(128, 128, 0),   Rgb(0, 128, 0),
    Rgb(0, 128, 128),   Rgb(0, 0, 255),     Rgb(102, 102, 153), Rgb(128, 128, 128),
    Rgb(255, 0, 0),     Rgb(255, 153, 0),   Rgb(153, 204, 0),   Rgb(51, 153, 102),
    Rgb(51, 204, 204),  Rgb(51, 102, 255),  Rgb(128, 0, 128),   Rgb(150, 150, 150),
    Rgb(255, 0, 255),   Rgb(255, 204, 0),   Rgb(255, 255, 0),   Rgb(0, 255, 0),
    Rgb(0, 255, 255),   Rgb(0, 204, 255),   Rgb(153, 51, 102),  Rgb(192, 192, 192),
    Rgb(255, 153, 204), Rgb(255, 204, 153), Rgb(255, 255, 153), Rgb(204, 255, 204),
    Rgb(204, 255, 255), Rgb(153, 204, 255), Rgb(204, 153, 255), Rgb(255, 255, 255),
};

// The suggested key colours of the transparent colour button.
constexpr std::array<Colour, 5> kSuggested = {Rgb(0, 0, 0), Rgb(255, 255, 255), Rgb(255, 0, 0),
                                              Rgb(0, 255, 0), Rgb(0, 0, 255)};

QString ColourName(Colour colour) {
    return QString("RGB(%1, %2, %3)").arg(RedOf(colour)).arg(GreenOf(colour)).arg(BlueOf(colour));
}

}  // namespace

ColourPalette::ColourPalette(Options options, QWidget* parent)
    : QWidget(parent), options_(options) {
    setMouseTracking(true);
    setAttribute(Qt::WA_Hover);
    Layout();
}

void ColourPalette::Layout() {
    const int box = options_.boxSize;
    const int width = 2 * kMargin + kColumns * (box + kGap) - kGap;
    int y = kMargin;
    items_.clear();
    if (options_.automatic) {
        items_.push_back({Kind::Automatic, QRect(kMargin, y, width - 2 * kMargin, kRowHeight),
                          kNoColour, ToQString(texts::kAutomaticColour)});
        y += kRowHeight + kGap;
    }
    auto heading = [&](std::string_view text) {
        items_.push_back({Kind::Heading, QRect(0, y, width, 20), kNoColour, ToQString(text)});
        y += 20 + kGap;
    };
    if (options_.suggested) {
        heading(texts::kSuggestedColours);
        for (std::size_t i = 0; i < kSuggested.size(); ++i) {
            const int x = kMargin + static_cast<int>(i) * (box + kGap);
            items_.push_back(
                {Kind::Box, QRect(x, y, box, box), kSuggested[i], ColourName(kSuggested[i])});
        }
        y += box + kGap + 2;
    }
    heading(texts::kStandardColours);
    for (std::size_t i = 0; i < kStandard.size(); ++i) {
        const int column = static_cast<int>(i) % kColumns;
        const int row = static_cast<int>(i) / kColumns;
        items_.push_back({Kind::Box,
                          QRect(kMargin + column * (box + kGap), y + row * (box + kGap), box, box),
                          kStandard[i], ColourName(kStandard[i])});
    }
    y += 5 * (box + kGap);
    if (options_.more) {
        y += 2;
        items_.push_back({Kind::More, QRect(kMargin, y, width - 2 * kMargin, kRowHeight), kNoColour,
                          ToQString(texts::kMoreColours)});
        y += kRowHeight;
    }
    size_ = QSize(width, y + kMargin);
}

QSize ColourPalette::sizeHint() const {
    return size_;
}

void ColourPalette::SetCurrent(Colour colour) {
    current_ = colour;
    update();
}

QRect ColourPalette::BoxRect(Colour colour) const {
    for (const Item& item : items_) {
        if (item.kind == Kind::Box && item.colour == colour) {
            return item.rect;
        }
    }
    return {};
}

QRect ColourPalette::AutomaticRect() const {
    for (const Item& item : items_) {
        if (item.kind == Kind::Automatic) {
            return item.rect;
        }
    }
    return {};
}

QRect ColourPalette::MoreRect() const {
    for (const Item& item : items_) {
        if (item.kind == Kind::More) {
            return item.rect;
        }
    }
    return {};
}

int ColourPalette::ItemAt(const QPoint& point) const {
    for (std::size_t i = 0; i < items_.size(); ++i) {
        if (items_[i].kind != Kind::Heading && items_[i].rect.contains(point)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

void ColourPalette::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    const RibbonLook& look = LookOf(this);
    painter.fillRect(rect(), look.menuBack);
    for (std::size_t i = 0; i < items_.size(); ++i) {
        const Item& item = items_[i];
        const bool hover = static_cast<int>(i) == hover_;
        switch (item.kind) {
            case Kind::Heading: {
                // Headings span the popup, which items below the palette may widen.
                const QRect band(0, item.rect.top(), width(), item.rect.height());
                painter.fillRect(band, look.menuHeading);
                QFont bold = font();
                bold.setBold(true);
                painter.setFont(bold);
                painter.setPen(look.menuHeadingText);
                painter.drawText(band.adjusted(kMargin + 2, 0, 0, 0), Qt::AlignVCenter, item.text);
                painter.setFont(font());
                break;
            }
            case Kind::Box: {
                const bool current = item.colour == current_;
                if (hover || current) {
                    PaintHighlight(painter, item.rect.adjusted(-2, -2, 2, 2), look,
                                   hover ? FillState::Hover : FillState::Checked);
                }
                painter.fillRect(item.rect, ToQColor(item.colour));
                painter.setPen(QColor(0x8a, 0x92, 0x9e));
                painter.drawRect(item.rect.adjusted(0, 0, -1, -1));
                break;
            }
            case Kind::Automatic:
            case Kind::More: {
                const bool current = item.kind == Kind::Automatic && current_ == kNoColour;
                if (hover || current) {
                    PaintHighlight(painter, item.rect, look,
                                   hover ? FillState::Hover : FillState::Checked);
                }
                const QRect swatch(item.rect.left() + 4, item.rect.top() + 4, 16, 16);
                if (item.kind == Kind::Automatic) {
                    painter.drawPixmap(swatch, ColourSwatch(kNoColour, 16));
                } else {
                    painter.drawPixmap(swatch, CommandPixmap(205, 16));
                }
                painter.setPen(look.text);
                painter.drawText(item.rect.adjusted(26, 0, 0, 0), Qt::AlignVCenter, item.text);
                break;
            }
        }
    }
}

void ColourPalette::mouseMoveEvent(QMouseEvent* event) {
    const int item = ItemAt(event->position().toPoint());
    if (item != hover_) {
        hover_ = item;
        update();
    }
}

void ColourPalette::leaveEvent(QEvent* /*event*/) {
    hover_ = -1;
    update();
}

void ColourPalette::mouseReleaseEvent(QMouseEvent* event) {
    const int index = ItemAt(event->position().toPoint());
    if (index < 0 || event->button() != Qt::LeftButton) {
        return;
    }
    const Item& item = items_[static_cast<std::size_t>(index)];
    if (item.kind == Kind::More) {
        emit MoreColoursChosen();
        return;
    }
    current_ = item.colour;
    emit ColourChosen(item.colour);
}

bool ColourPalette::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const int index = ItemAt(help->pos());
        if (index >= 0) {
            QToolTip::showText(help->globalPos(), items_[static_cast<std::size_t>(index)].text,
                               this);
        } else {
            QToolTip::hideText();
        }
        return true;
    }
    return QWidget::event(event);
}

}  // namespace palvex::ui
