#include "shell/BesideWindow.h"

#include <QScreen>
#include <QWidget>

namespace orv::gui {

namespace {

// A window of this client size with the frame `window` has.
QSize frameSizeFor(QSize client, const QWidget* window) {
    return client + (window->frameGeometry().size() - window->geometry().size());
}

} // namespace

void placeBeside(QWidget& dialog, const QWidget* window) {
    const QScreen* screen = window->screen();
    if (!screen || dialog.isVisible())
        return;
    const QRect area = screen->availableGeometry();
    const QRect beside = window->frameGeometry();
    // The frame the window manager adds is not known before the first showing: the main
    // window's stands for it.
    const QSize frame = frameSizeFor(dialog.size(), window);
    if (beside.right() + frame.width() <= area.right())
        dialog.move(beside.right() + 1, beside.top());
    else if (beside.left() - frame.width() >= area.left())
        dialog.move(beside.left() - frame.width(), beside.top());
}

void showBeside(QWidget& dialog, const QWidget* window, bool firstShowing) {
    if (firstShowing)
        placeBeside(dialog, window);
    dialog.show();
    dialog.raise();
    dialog.activateWindow();
}

} // namespace orv::gui
