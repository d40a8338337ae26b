// The main window's construction, menu and event handling.
#include "platform/qt/viewer_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTimer>
#include <cmath>

#include "app/main_window.h"
#include "app/menu_commands.h"
#include "platform/qt/gl_view.h"
#include "platform/qt/qt_platform.h"

ViewerWindow::ViewerWindow(QWidget* container, int outerWidth, int outerHeight,
                           const QString& statusText)
    : outerWidth(outerWidth), outerHeight(outerHeight)
{
    setCentralWidget(container);
    container->installEventFilter(this);
    qt.statusLabel = new QLabel(statusText);
    statusBar()->addWidget(qt.statusLabel, 1);
    statusBar()->setSizeGripEnabled(true);
    resize(outerWidth, outerHeight);
    setAcceptDrops(true);
}

namespace {
// The local file a drag carries, when it carries exactly one.
QString droppedFile(const QMimeData* data)
{
    if (!data || !data->hasUrls() || data->urls().size() != 1 || !data->urls()[0].isLocalFile())
        return {};
    return data->urls()[0].toLocalFile();
}
} // namespace

void ViewerWindow::dragEnterEvent(QDragEnterEvent* event)
{
    if (!droppedFile(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void ViewerWindow::dropEvent(QDropEvent* event)
{
    const QString path = droppedFile(event->mimeData());
    if (path.isEmpty())
        return;
    event->acceptProposedAction();
    // Opened once the drop has ended: the open may show a box.
    QTimer::singleShot(0, this, [path] { onModelFileDropped(path.toStdString()); });
}

void ViewerWindow::buildMenu(const std::vector<PlatformMenuEntry>& menu)
{
    QMenuBar* bar = menuBar();
    QMenu* current = nullptr;
    for (const PlatformMenuEntry& entry : menu) {
        switch (entry.kind) {
        case menuPopup: {
            current = bar->addMenu(QString::fromUtf8(entry.label));
            // Menu tracking: no frame while a menu is open; the default
            // guidance comes back once every menu is closed.
            connect(current, &QMenu::aboutToShow, this, [] {
                qtClearKeys();
                qtUpdateIdleTimer();
            });
            connect(current, &QMenu::aboutToHide, this, [this] {
                // Moving to the next menu of the bar closes this one first:
                // wait until the event loop has opened the next one.
                QTimer::singleShot(0, this, [this] { menuClosed(); });
            });
            connect(current, &QMenu::hovered, this, [](QAction* action) {
                if (!action->isSeparator() && !action->menu())
                    onMenuHighlight(false, action->data().toInt());
            });
            break;
        }
        case menuItem:
            if (current) {
                QAction* action = current->addAction(QString::fromUtf8(entry.label));
                action->setData(entry.id);
                if (entry.id == cmdQuit)
                    action->setShortcut(QKeySequence(Qt::ALT | Qt::Key_F4));
                const int id = entry.id;
                connect(action, &QAction::triggered, this, [id] {
                    qtClearKeys();
                    // The closed menu is still painted over the view: one
                    // frame first, so no box or long command leaves it there.
                    qtIdleStep();
                    if (qt.glView)
                        qt.glView->makeCurrent();
                    onMenuCommand(id);
                    qtUpdateIdleTimer();
                });
            }
            break;
        case menuSeparator:
            if (current)
                current->addSeparator();
            break;
        }
    }
    connect(bar, &QMenuBar::hovered, this, [bar](QAction* action) {
        const int position = static_cast<int>(bar->actions().indexOf(action));
        if (position >= 0)
            onMenuHighlight(true, position);
    });
    bar->installEventFilter(this);
}

void ViewerWindow::menuClosed()
{
    if (!QApplication::activePopupWidget()) {
        // A menu closed with Escape leaves the bar in keyboard navigation,
        // holding the focus with no visible mark: the keys go back to the view.
        if (QApplication::focusWidget() == menuBar() && centralWidget())
            centralWidget()->setFocus(Qt::PopupFocusReason);
        onMenuTrackingEnd();
        qtUpdateIdleTimer();
    }
}

bool ViewerWindow::userResized()
{
    if (!resizedByUser && isVisible()) {
        const QSize now = size();
        resizedByUser = now != QSize(outerWidth, outerHeight) && now != sizeForFrame;
    }
    return resizedByUser;
}

void ViewerWindow::reportLayout()
{
    QWidget* view = centralWidget();
    if (!view)
        return;
    int kind = resizeRestored;
    if (isMinimized())
        kind = resizeMinimized;
    else if (!isVisible())
        kind = resizeHidden;
    else if (isMaximized())
        kind = resizeMaximized;
    const double ratio = view->devicePixelRatioF();
    layoutChildren(kind, static_cast<int>(std::lround(view->width() * ratio)),
                   static_cast<int>(std::lround(view->height() * ratio)));
    qtUpdateIdleTimer();
}

void ViewerWindow::adjustForFrame()
{
    // The outer size includes the frame that the window manager adds; it is
    // known only once the window is on screen, so the inner size is set then.
    if (frameAdjusted || !isVisible() || isMinimized() || isMaximized())
        return;
    const QRect outer = frameGeometry();
    const QRect inner = geometry();
    const int frameW = outer.width() - inner.width();
    const int frameH = outer.height() - inner.height();
    if (frameW <= 0 && frameH <= 0)
        return;
    frameAdjusted = true;
    sizeForFrame = QSize(outerWidth - frameW, outerHeight - frameH);
    resize(sizeForFrame);
}

bool ViewerWindow::event(QEvent* event)
{
    const bool result = QMainWindow::event(event);
    switch (event->type()) {
    case QEvent::Show:
    case QEvent::Hide:
        reportLayout();
        [[fallthrough]];
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::WindowActivate:
        adjustForFrame();
        break;
    default:
        break;
    }
    return result;
}

bool ViewerWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == centralWidget() && event->type() == QEvent::Resize) {
        reportLayout();
    } else if (watched == menuBar() && event->type() == QEvent::Leave) {
        // The pointer left the menu bar without opening a menu: its guidance ends.
        if (!QApplication::activePopupWidget())
            onMenuTrackingEnd();
    }
    return QMainWindow::eventFilter(watched, event);
}

void ViewerWindow::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange)
        reportLayout();
    else if (event->type() == QEvent::ActivationChange && !isActiveWindow())
        qtClearKeys();
}

void ViewerWindow::closeEvent(QCloseEvent* event)
{
    onMainWindowDestroyed();
    qtUpdateIdleTimer();
    event->accept();
}
