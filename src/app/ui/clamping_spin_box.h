#pragma once

#include <QSpinBox>

namespace palvex::ui {

// A spin box that lets a number beyond its range be typed and pulls it into the range when the
// edit is left or Enter is pressed. A plain QSpinBox refuses the keystroke that crosses the
// maximum (400 stays 40) and puts the old value back below the minimum, so the dialogs' own
// limits would never see what was typed.
class ClampingSpinBox final : public QSpinBox {
public:
    explicit ClampingSpinBox(QWidget* parent = nullptr);

    QValidator::State validate(QString& text, int& position) const override;
    void fixup(QString& text) const override;
};

}  // namespace palvex::ui
