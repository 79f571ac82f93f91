#include "app/ui/clamping_spin_box.h"

#include <algorithm>
#include <optional>

namespace palvex::ui {
namespace {

// The typed number, group separators allowed (the size dialog shows "1,200").
std::optional<long long> TypedNumber(const QLocale& locale, const QString& text) {
    bool number = false;
    const long long value = locale.toLongLong(text.trimmed(), &number);
    if (number) {
        return value;
    }
    return std::nullopt;
}

}  // namespace

ClampingSpinBox::ClampingSpinBox(QWidget* parent) : QSpinBox(parent) {
    setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
}

QValidator::State ClampingSpinBox::validate(QString& text, int& position) const {
    const QValidator::State state = QSpinBox::validate(text, position);
    return state == QValidator::Invalid && TypedNumber(locale(), text) ? QValidator::Intermediate
                                                                       : state;
}

void ClampingSpinBox::fixup(QString& text) const {
    if (const std::optional<long long> value = TypedNumber(locale(), text)) {
        text = QString::number(std::clamp<long long>(*value, minimum(), maximum()));
    } else {
        QSpinBox::fixup(text);
    }
}

}  // namespace palvex::ui
