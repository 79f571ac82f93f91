#pragma once

#include <QDialog>

#include "app/recent_files.h"
#include "base/desktop_shell.h"
#include "base/prompter.h"

class QTableWidget;

namespace palvex::ui {

// The recent-file manager: one checkable row an entry, deleting the checked ones or all at once
// (at once on the list, no undo), and a double click showing the entry's folder.
class CRecentDlg final : public QDialog {
    Q_OBJECT

public:
    CRecentDlg(RecentFileList& list, Prompter& prompter, DesktopShell& shell,
               QWidget* parent = nullptr);

    QTableWidget* Table() const { return table_; }
    void DeleteChecked();
    void DeleteAll();
    // A double click on `row`; a row that does not exist does nothing.
    void ShowFolderOf(int row);

private:
    void AddRow(int number, const QString& path);
    void Renumber();

    RecentFileList& list_;
    Prompter& prompter_;
    DesktopShell& shell_;
    QTableWidget* table_;
};

}  // namespace palvex::ui
