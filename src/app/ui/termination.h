#pragma once

class QWidget;

namespace palvex::ui {

// On SIGTERM (a session ending, `kill`) the window is closed as if the user had closed it.
void CloseOnTermination(QWidget* window);

}  // namespace palvex::ui
