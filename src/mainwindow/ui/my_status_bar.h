#pragma once

#include <QStatusBar>
#include <QStringList>
#include <functional>
#include <string_view>
#include <utility>
#include <vector>

#include "app/app_settings.h"
#include "image/geometry.h"
#include "mainwindow/ui/ribbon_look.h"

class QLabel;
class QProgressBar;

namespace palvex::ui {

class GuidePane;

// The status bar: the progress, angle, colour, position, size and pointer panes, and the
// operation guide that is laid over them while it holds a text.
class CMyStatusBar final : public QStatusBar, public LookOwner {
    Q_OBJECT

public:
    explicit CMyStatusBar(const AppSettings& settings, QWidget* parent = nullptr);

    // The panes by their values (cmd::ID_PANE_...), in the order they are shown.
    std::vector<int> PaneIds() const;
    QLabel* Pane(int id) const;
    QString PaneText(int id) const;
    // Writes a pane and redraws it at once.
    void SetPaneText(int id, const QString& text);

    // The guide: a non-empty text replaces the panes until it is set again; empty returns to the
    // panes.
    void SetGuide(const QString& text);
    QString Guide() const;
    // A hint or mode text from the string table, shown only while the guide is on.
    void GuideHint(int stringId);
    // A hint built in rather than numbered, under the same condition.
    void GuideText(std::string_view text);
    // A range hint: the mouse directions it names follow the flattening direction.
    void RangeHint(int stringId);
    // A switch's notice: shown for a second whether the guide is on or not, then cleared. A
    // switch turned off shows `offWord` wherever the text says `onWord`.
    void FlashMessage(int stringId, bool on, std::string_view onWord, std::string_view offWord);
    // The second of a notice waits without processing events; tests replace the wait.
    std::function<void(int milliseconds)> blockingWait;

    static QString SwitchNoticeText(int stringId, bool on, std::string_view onWord,
                                    std::string_view offWord);
    static QString RangeHintText(int stringId, bool horizontalFlattening);

    // The progress of long passes: a range of 0 to n (n held in 16 bits).
    QProgressBar* ProgressBar() const { return progress_; }
    void SetProgressRange(int n);
    void SetProgressPosition(int position);
    void ResetProgress();

    // The position and size panes for the image or the selection; the angle pane is emptied.
    void ShowImageInfo(const Rect& rect);

    void ApplyLook(const RibbonLook& look);
    const RibbonLook& Look() const override { return look_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    struct PaneInfo {
        int id;
        QLabel* label;
    };

    // A pane as wide as its sample and as every text in `shown`.
    void AddPane(int id, std::string_view name, std::string_view sample, std::string_view tip,
                 Qt::Alignment alignment, const QStringList& shown = {});
    void LayOut();

    const AppSettings& settings_;
    RibbonLook look_;
    std::vector<PaneInfo> panes_;
    QProgressBar* progress_;
    // What the bar last painted (its filled width and its percentage), so that a pass reporting
    // hundreds of positions repaints only those that show.
    std::pair<int, int> paintedProgress_{-1, -1};
    GuidePane* guide_;
};

}  // namespace palvex::ui
