#include "app/ui/vemmar_doc.h"

#include "app/ui/qt_text.h"
#include "resources/texts.h"

namespace palvex::ui {

CVemmarDoc::CVemmarDoc(QObject* parent)
    : QObject(parent), title_(ToQString(texts::kUntitledDocument)) {}

void CVemmarDoc::SetModifiedFlag(bool modified) {
    if (modified != modified_) {
        modified_ = modified;
        emit ModifiedChanged(modified);
    }
}

void CVemmarDoc::SetPathName(const std::filesystem::path& path) {
    path_ = path;
    title_ = PathToQString(path.filename());
    emit TitleChanged(title_);
}

void CVemmarDoc::OnNewDocument() {
    path_.clear();
    title_ = ToQString(texts::kUntitledDocument);
    SetModifiedFlag(false);
    emit TitleChanged(title_);
}

}  // namespace palvex::ui
