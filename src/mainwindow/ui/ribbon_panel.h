#pragma once

#include <QFontMetrics>
#include <QWidget>
#include <vector>

class QHBoxLayout;
class QVBoxLayout;

namespace palvex::ui {

// A panel of a ribbon tab: its elements in columns above its caption. A large element takes a
// column of its own; small ones stack three to a column.
class RibbonPanel final : public QWidget {
    Q_OBJECT

public:
    RibbonPanel(const QString& title, int index, QWidget* parent = nullptr);

    QString Title() const { return title_; }

    // The caption strip at the foot: 17 pixels, more for a font taller than the usual 14
    // (the CJK fonts chosen under a Japanese locale).
    static int CaptionHeight(const QFontMetrics& metrics);
    // How much taller than its usual 96 pixels the ribbon's body must be for its two-line labels
    // and captions in that font.
    static int ExtraBodyHeight(const QFontMetrics& metrics);
    int Index() const { return index_; }
    const std::vector<QWidget*>& Elements() const { return elements_; }

    void AddLarge(QWidget* element);
    // `newColumn` starts a column even when the current one has room.
    void AddSmall(QWidget* element, bool newColumn = false);

    // Room for the elements and for the caption; a narrow window never squeezes a panel.
    QSize minimumSizeHint() const override;
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QVBoxLayout* NewColumn();

    QString title_;
    int index_;
    QHBoxLayout* columns_;
    QVBoxLayout* column_ = nullptr;
    int smallInColumn_ = 0;
    bool columnIsLarge_ = false;
    std::vector<QWidget*> elements_;
};

}  // namespace palvex::ui
