#include "selection/ui/transform_asker.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QPushButton>

#include "app/ui/qt_text.h"
#include "resources/texts.h"
#include "selection/ui/rot_dlg.h"
#include "selection/ui/size_dlg.h"

namespace palvex::ui {

QDialogButtonBox* RunCancelButtons(QDialog& dialog) {
    auto* buttons = new QDialogButtonBox(&dialog);
    QPushButton* ok =
        buttons->addButton(ToQString(texts::kDialogRun), QDialogButtonBox::AcceptRole);
    ok->setObjectName("ok");
    ok->setDefault(true);
    buttons->addButton(ToQString(texts::kDialogCancel), QDialogButtonBox::RejectRole)
        ->setObjectName("cancel");
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    return buttons;
}

std::optional<int> DialogAsker::AskAngle(AppSettings& settings) {
    CRotDlg dialog(settings, store_, parent_);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.Angle();
}

std::optional<Size> DialogAsker::AskSize(const SizeDialogBase& base, AppSettings& settings) {
    CSizeDlg dialog(base, settings, store_, prompter_, parent_);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.Result();
}

}  // namespace palvex::ui
