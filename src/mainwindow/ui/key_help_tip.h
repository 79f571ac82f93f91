#pragma once

#include <QLabel>
#include <QTimer>

namespace palvex::ui {

// The key-help tooltip of the pen tab: shown near the pointer after a short delay while it is
// active, hidden after ten seconds or when deactivated.
class KeyHelpTip final : public QLabel {
    Q_OBJECT

public:
    static constexpr int kInitialDelay = 100;
    static constexpr int kVisibleTime = 10000;
    static constexpr int kReshowDelay = 500;
    static constexpr int kMaxWidth = 512;

    explicit KeyHelpTip(QWidget* owner);

    // Shows `text` on one line a key, wrapping only the lines too long for the tip's width.
    void SetHelpText(const QString& text);
    // The pointer moved over the owner (global position).
    void RelayMouseMove(const QPoint& global);
    void Activate(bool on);
    bool IsActive() const { return active_; }

private:
    void ShowNow();

    QTimer showTimer_;
    QTimer hideTimer_;
    QPoint pointer_;
    bool active_ = false;
    bool shownOnce_ = false;
};

}  // namespace palvex::ui
