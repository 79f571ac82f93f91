#pragma once

#include <QFrame>
#include <QStringList>
#include <map>
#include <vector>

class QLabel;
class QStackedWidget;
class QVBoxLayout;
class QHBoxLayout;

namespace palvex::ui {

class RibbonButton;

// The application menu "ファイル": its commands in a column at the left, the items of the
// entry under the pointer (or the recent files) at the right, and the foot buttons below.
class ApplicationMenu final : public QFrame {
    Q_OBJECT

public:
    explicit ApplicationMenu(QWidget* parent = nullptr);

    void AddEntry(RibbonButton* entry);
    // The items an entry shows at the right, under their heading.
    void AddItem(RibbonButton* entry, RibbonButton* item, const QString& heading);
    void AddFootButton(RibbonButton* button);

    void SetRecentFiles(const QStringList& paths);
    // The entry whose items show now; nullptr while the recent files show.
    RibbonButton* ShownEntry() const { return shown_; }
    void ShowItemsOf(RibbonButton* entry);

    const std::vector<RibbonButton*>& Entries() const { return entries_; }
    std::vector<RibbonButton*> ItemsOf(const RibbonButton* entry) const;
    const std::vector<RibbonButton*>& FootButtons() const { return foot_; }
    std::vector<RibbonButton*> RecentButtons() const { return recentButtons_; }

    void Popup(const QPoint& at);
    // Gives the keyboard to the first entry that can take it (the menu opened by a key).
    void FocusFirstEntry();
    // The entry whose items the keyboard chooses from (opened by its access key); nullptr
    // while the keys choose among the entries.
    RibbonButton* KeyEntry() const { return keyEntry_; }

signals:
    void RecentChosen(int index);
    void Closed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    struct Page {
        QWidget* widget = nullptr;
        QVBoxLayout* layout = nullptr;
        std::vector<RibbonButton*> items;
    };

    Page MakePage(const QString& heading);
    void Watch(RibbonButton* button);
    RibbonButton* ButtonForKey(int key) const;
    void KeepOnScreen(const QPoint& at);

    QVBoxLayout* column_;
    QStackedWidget* pages_;
    QHBoxLayout* footRow_;
    Page recent_;
    std::map<const RibbonButton*, Page> itemPages_;
    std::vector<RibbonButton*> entries_;
    std::vector<RibbonButton*> foot_;
    std::vector<RibbonButton*> recentButtons_;
    RibbonButton* shown_ = nullptr;
    RibbonButton* keyEntry_ = nullptr;
};

}  // namespace palvex::ui
