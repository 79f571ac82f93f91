#pragma once

#include <QWidget>

namespace palvex::ui {

// The operation guide: one line of text laid over the whole status bar while it is set.
class GuidePane final : public QWidget {
    Q_OBJECT

public:
    explicit GuidePane(QWidget* parent = nullptr);

    QString Text() const { return text_; }
    void SetText(const QString& text);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString text_;
};

}  // namespace palvex::ui
