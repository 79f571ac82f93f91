#pragma once

#include <QApplication>
#include <QMouseEvent>
#include <QWindow>
#include <cstdio>
#include <filesystem>

#include "app/ui/vemmar_app.h"
#include "base/desktop_shell.h"
#include "base/prompter.h"
#include "canvas/ui/vemmar_view.h"
#include "mainwindow/ui/main_frame.h"

namespace palvex::bench {

// Messages would mean the measured work did not happen: they end the run's credibility, so
// they are shown.
class PrintingPrompter final : public Prompter {
public:
    Answer Show(const MessageRequest& request) override {
        std::fprintf(stderr, "message %d: %s\n", request.id, request.Text().c_str());
        return Answer::No;
    }
};

class NoShell final : public DesktopShell {
public:
    bool OpenFolder(const std::filesystem::path&) override { return true; }
};

// Shows the editor at 1920 x 1080 once its image is in place and lays the image out; false when
// the canvas never shows.
inline bool ShowEditor(ui::CVemmarApp& app) {
    app.MainFrame()->resize(1920, 1080);
    app.MainFrame()->show();
    for (int i = 0; i < 20 && !app.MainFrame()->windowHandle()->isExposed(); ++i) {
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    const bool shown = app.View()->viewport()->isVisible();
    app.View()->ImageReplaced();
    return shown;
}

// A left click at a point of the canvas window, press and release, as the mouse sends them.
inline void ClickCanvas(ui::CVemmarApp& app, QPointF at) {
    QWidget* viewport = app.View()->viewport();
    for (const auto type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent event(type, at, viewport->mapToGlobal(at), Qt::LeftButton,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                          Qt::NoModifier);
        QApplication::sendEvent(viewport, &event);
    }
}

}  // namespace palvex::bench
