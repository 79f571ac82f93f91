#pragma once

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
