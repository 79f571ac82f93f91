#include "selection/ui/transform_asker.h"

#include "selection/ui/rot_dlg.h"
#include "selection/ui/size_dlg.h"

namespace palvex::ui {

std::optional<int> DialogAsker::AskAngle(int initial) {
    CRotDlg dialog(initial, parent_);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.Angle();
}

std::optional<Size> DialogAsker::AskSize(const SizeDialogBase& base, AppSettings& settings) {
    CSizeDlg dialog(base, settings, prompter_, parent_);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.Result();
}

}  // namespace palvex::ui
