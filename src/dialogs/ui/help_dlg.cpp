#include "dialogs/ui/help_dlg.h"

#include <QPdfDocument>
#include <QPdfView>
#include <QVBoxLayout>
#include <system_error>

#include "app/ui/qt_text.h"
#include "resources/string_table.h"

namespace palvex::ui {

CHelpDlg::CHelpDlg(QWidget* parent)
    : QDialog(parent), document_(new QPdfDocument(this)), view_(new QPdfView(this)) {
    setWindowFlags(windowFlags() | Qt::WindowMinMaxButtonsHint);
    view_->setObjectName("manualView");
    view_->setPageMode(QPdfView::PageMode::MultiPage);
    view_->setZoomMode(QPdfView::ZoomMode::FitToWidth);
    view_->setDocument(document_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view_);
    resize(800, 600);
}

bool CHelpDlg::Open(const std::filesystem::path& manual, Prompter& prompter) {
    std::error_code error;
    const bool isFile = std::filesystem::is_regular_file(manual, error);
    if (!isFile || document_->load(PathToQString(manual)) != QPdfDocument::Error::None) {
        prompter.Information(str::kManualMissing);
        return false;
    }
    setWindowTitle(ToQString(LoadString(str::kManualName)));
    setWindowState(windowState() | Qt::WindowMaximized);
    return true;
}

}  // namespace palvex::ui
