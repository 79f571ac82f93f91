#pragma once

#include <QDesktopServices>
#include <QUrl>

#include "app/ui/qt_text.h"
#include "base/desktop_shell.h"

namespace palvex::ui {

// The desktop's file manager, through the platform's "open this folder" service.
class QtDesktopShell final : public DesktopShell {
public:
    bool OpenFolder(const std::filesystem::path& folder) override {
        return QDesktopServices::openUrl(QUrl::fromLocalFile(PathToQString(folder)));
    }
};

}  // namespace palvex::ui
