#include "dialogs/ui/about_dlg.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/ui/qt_text.h"
#include "app/version.h"
#include "dialogs/help_texts.h"
#include "resources/texts.h"

namespace palvex::ui {

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(ToQString(texts::kAboutCaption));
    auto* layout = new QVBoxLayout(this);

    auto* head = new QHBoxLayout;
    auto* icon = new QLabel(this);
    icon->setPixmap(QApplication::windowIcon().pixmap(48, 48));
    head->addWidget(icon);
    auto* title = new QLabel(ToQString(texts::kAboutTitle), this);
    title->setObjectName("title");
    title->setAlignment(Qt::AlignCenter);
    head->addWidget(title, 1);
    layout->addLayout(head);
    auto* version =
        new QLabel(ToQString(texts::kAboutVersionFormat).arg(QString::fromLatin1(kVersion)), this);
    version->setObjectName("version");
    version->setAlignment(Qt::AlignCenter);
    layout->addWidget(version);

    auto* line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    layout->addWidget(line);
    auto* notice = new QPlainTextEdit(ToQString(texts::kAboutNotice), this);
    notice->setObjectName("notice");
    notice->setReadOnly(true);
    notice->setMinimumSize(520, 160);
    layout->addWidget(notice);

    auto* label = new QLabel(ToQString(texts::kAboutHistoryLabel), this);
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    layout->addWidget(label);
    history_ = new QPlainTextEdit(this);
    history_->setObjectName("history");
    history_->setReadOnly(true);
    history_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // The text's own line breaks are "\r\n"; the edit wants one character a break.
    history_->setPlainText(ToQString(VersionHistoryText()).replace("\r\n", "\n"));
    QPalette colours = history_->palette();
    colours.setColor(QPalette::Base, QColor(255, 252, 181));
    history_->setPalette(colours);
    history_->setMinimumHeight(110);
    layout->addWidget(history_);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(ToQString(texts::kAboutOk), QDialogButtonBox::AcceptRole);
    ok->setObjectName("ok");
    ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
}

}  // namespace palvex::ui
