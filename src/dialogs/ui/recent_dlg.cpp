#include "dialogs/ui/recent_dlg.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "app/ui/qt_text.h"
#include "image/image_saver.h"
#include "resources/texts.h"

namespace palvex::ui {

CRecentDlg::CRecentDlg(RecentFileList& list, Prompter& prompter, DesktopShell& shell,
                       QWidget* parent)
    : QDialog(parent), list_(list), prompter_(prompter), shell_(shell) {
    setWindowTitle(ToQString(texts::kRecentCaption));
    auto* layout = new QVBoxLayout(this);

    table_ = new QTableWidget(0, 2, this);
    table_->setObjectName("recentList");
    table_->setHorizontalHeaderLabels(
        {ToQString(texts::kRecentNumberColumn), ToQString(texts::kRecentPathColumn)});
    table_->horizontalHeaderItem(0)->setTextAlignment(Qt::AlignCenter);
    table_->setColumnWidth(0, 60);
    table_->setColumnWidth(1, 450);
    table_->verticalHeader()->hide();
    table_->setShowGrid(true);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setMinimumWidth(60 + 450 + 24);
    for (int i = 0; i < list_.Count(); ++i) {
        const std::string path = list_.Entry(i);
        if (path.empty()) {
            break;
        }
        AddRow(i + 1, ToQString(path));
    }
    connect(table_, &QTableWidget::cellDoubleClicked, this,
            [this](int row, int /*column*/) { ShowFolderOf(row); });
    layout->addWidget(table_);
    layout->addWidget(new QLabel(ToQString(texts::kRecentHint), this));

    auto* buttons = new QHBoxLayout;
    auto* deleteChecked = new QPushButton(ToQString(texts::kRecentDeleteChecked), this);
    deleteChecked->setObjectName("deleteChecked");
    auto* deleteAll = new QPushButton(ToQString(texts::kRecentDeleteAll), this);
    deleteAll->setObjectName("deleteAll");
    auto* back = new QPushButton(ToQString(texts::kRecentBack), this);
    back->setObjectName("back");
    connect(deleteChecked, &QPushButton::clicked, this, &CRecentDlg::DeleteChecked);
    connect(deleteAll, &QPushButton::clicked, this, &CRecentDlg::DeleteAll);
    connect(back, &QPushButton::clicked, this, &QDialog::reject);
    buttons->addWidget(deleteChecked);
    buttons->addWidget(deleteAll);
    buttons->addStretch();
    buttons->addWidget(back);
    layout->addLayout(buttons);
}

void CRecentDlg::AddRow(int number, const QString& path) {
    const int row = table_->rowCount();
    table_->insertRow(row);
    auto* numberItem = new QTableWidgetItem(QString::number(number));
    numberItem->setTextAlignment(Qt::AlignCenter);
    numberItem->setFlags(numberItem->flags() | Qt::ItemIsUserCheckable);
    numberItem->setCheckState(Qt::Unchecked);
    table_->setItem(row, 0, numberItem);
    table_->setItem(row, 1, new QTableWidgetItem(path));
}

void CRecentDlg::Renumber() {
    for (int row = 0; row < table_->rowCount(); ++row) {
        table_->item(row, 0)->setText(QString::number(row + 1));
    }
}

void CRecentDlg::DeleteChecked() {
    // From the last row up, so the rows still to come keep their entry numbers.
    for (int row = table_->rowCount() - 1; row >= 0; --row) {
        if (table_->item(row, 0)->checkState() == Qt::Checked) {
            list_.Remove(row);
            table_->removeRow(row);
        }
    }
    Renumber();
}

void CRecentDlg::DeleteAll() {
    for (int row = table_->rowCount() - 1; row >= 0; --row) {
        list_.Remove(row);
    }
    table_->setRowCount(0);
}

void CRecentDlg::ShowFolderOf(int row) {
    if (row < 0 || row >= table_->rowCount()) {
        return;
    }
    OpenContainingFolder(ToPath(table_->item(row, 1)->text()), prompter_, shell_);
}

}  // namespace palvex::ui
