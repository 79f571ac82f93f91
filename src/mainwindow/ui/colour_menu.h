#pragma once

#include <QMenu>
#include <functional>
#include <optional>

#include "image/colour.h"
#include "mainwindow/ui/colour_palette.h"

namespace palvex::ui {

// The colour dialog as the ribbon asks it: the chosen colour, or nothing when cancelled.
using AskColourFunction = std::function<std::optional<Colour>(Colour initial)>;

// The popup of a colour choice: the palette at the top, the choice's own items below it. It
// keeps the colour the choice shows; a colour button in the ribbon and a colour entry inside
// another menu both use it.
class ColourMenu final : public QMenu {
    Q_OBJECT

public:
    ColourMenu(const QString& title, ColourPalette::Options options, AskColourFunction askColour,
               QWidget* parent = nullptr);

    Colour CurrentColour() const { return colour_; }
    // Shows a colour without running the command.
    void SetCurrentColour(Colour colour);
    ColourPalette* Palette() const { return palette_; }

    // What the palette does when the user picks, callable without the mouse.
    void Pick(Colour colour);
    void PickMoreColours();

signals:
    void ColourPicked(Colour colour);
    void ColourShown(Colour colour);

private:
    void CloseMenus();

    ColourPalette* palette_;
    AskColourFunction askColour_;
    Colour colour_ = kNoColour;
};

}  // namespace palvex::ui
