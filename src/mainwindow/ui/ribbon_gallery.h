#pragma once

#include "mainwindow/ui/ribbon_button.h"

namespace palvex::ui {

class PenStyleGrid;

// The pen-shape gallery: a large button that opens the shapes under the heading
// "ペンスタイル". Choosing one selects it and runs the command, which reads the selection.
class RibbonGallery final : public RibbonButton {
    Q_OBJECT

public:
    RibbonGallery(const CommandInfo& row, QAction* action, QWidget* parent = nullptr);

    int SelectedItem() const;
    // Selects without running the command.
    void SetSelectedItem(int item);
    // What choosing an item in the popup does.
    void Choose(int item);
    PenStyleGrid* Grid() const { return grid_; }

private:
    PenStyleGrid* grid_;
};

}  // namespace palvex::ui
