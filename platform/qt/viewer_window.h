// The main window: menu bar, status bar and the GL view in between. It turns
// the window system's events into the program's reactions (app/main_window.h).
#pragma once

#include <QMainWindow>
#include <vector>

#include "platform/platform_app.h"

class QMenu;

class ViewerWindow : public QMainWindow {
public:
    // Main window of the given outer size with the GL view's container as its
    // centre and a status bar holding statusText.
    ViewerWindow(QWidget* container, int outerWidth, int outerHeight, const QString& statusText);
    // Fills the menu bar from the table.
    void buildMenu(const std::vector<PlatformMenuEntry>& menu);
    // Tells the program the current size of the GL view and whether it can be seen.
    void reportLayout();
    // The user has resized the window at least once: its size is none of the
    // sizes the program itself gave it (the outer size asked for, then the
    // inner size once the window manager's frame is known).
    bool userResized();

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    // A model file dragged over the window is taken; dropped, it opens as from the dialog.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // Outer size asked for; the frame is taken off once the window system tells its size.
    int outerWidth, outerHeight;
    bool frameAdjusted = false;
    QSize sizeForFrame;
    bool resizedByUser = false;
    void adjustForFrame();
    void menuClosed();
};
