// Key and button table from the application's input events.
#include "platform/qt/input_filter.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMenuBar>
#include <QMouseEvent>
#include <QWidget>

#include "app/main_window.h"
#include "platform/platform.h"
#include "platform/qt/gl_view.h"
#include "platform/qt/qt_platform.h"
#include "platform/qt/viewer_window.h"

int platformKeyOfQtKey(int qtKey)
{
    switch (qtKey) {
    case Qt::Key_Return:
    case Qt::Key_Enter: return keyEnter;
    case Qt::Key_Escape: return keyEscape;
    case Qt::Key_Up: return keyUp;
    case Qt::Key_Down: return keyDown;
    case Qt::Key_Left: return keyLeft;
    case Qt::Key_Right: return keyRight;
    case Qt::Key_C: return keyC;
    case Qt::Key_D: return keyD;
    case Qt::Key_S: return keyS;
    case Qt::Key_W: return keyW;
    case Qt::Key_X: return keyX;
    case Qt::Key_P: return keyP;
    case Qt::Key_M: return keyM;
    default: return -1;
    }
}

namespace {

// The event is meant for the main window or its GL view, with no modal box,
// dialog or menu in the way.
bool forViewer(QObject* watched)
{
    if (QApplication::activeModalWidget() || QApplication::activePopupWidget())
        return false;
    // Keys that move through the menu bar belong to it, and so do all keys
    // while it holds the focus (keyboard navigation). The pointer merely
    // resting on a title makes it active without taking the keys.
    if (qt.mainWindow &&
        (watched == qt.mainWindow->menuBar() || QApplication::focusWidget() == qt.mainWindow->menuBar()))
        return false;
    if (qt.glView && watched == qt.glView)
        return true;
    if (auto* widget = qobject_cast<QWidget*>(watched))
        return qt.mainWindow && widget->window() == qt.mainWindow;
    if (auto* window = qobject_cast<QWindow*>(watched))
        return qt.mainWindow && window == qt.mainWindow->windowHandle();
    return false;
}

int buttonKey(Qt::MouseButton button)
{
    if (button == Qt::LeftButton)
        return keyLeftButton;
    if (button == Qt::RightButton)
        return keyRightButton;
    return -1;
}

// Events after which the picture may change: the frames start again.
bool wakesFrames(QEvent::Type type)
{
    switch (type) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::Enter:
    case QEvent::Leave:
    case QEvent::Expose:
    case QEvent::Resize:
    case QEvent::Show:
    case QEvent::WindowStateChange:
    case QEvent::ApplicationActivate:
    case QEvent::ApplicationDeactivate:
        return true;
    default:
        return false;
    }
}

} // namespace

bool InputFilter::eventFilter(QObject* watched, QEvent* event)
{
    if (wakesFrames(event->type()))
        qtUpdateIdleTimer();
    switch (event->type()) {
    case QEvent::KeyPress: {
        auto* key = static_cast<QKeyEvent*>(event);
        const int k = platformKeyOfQtKey(key->key());
        if (k >= 0 && forViewer(watched)) {
            qtKeyPressed(k);
            if (!key->isAutoRepeat())
                onMainKeyDown(static_cast<PlatformKey>(k));
        }
        break;
    }
    case QEvent::KeyRelease: {
        auto* key = static_cast<QKeyEvent*>(event);
        const int k = platformKeyOfQtKey(key->key());
        // A held key repeats as release and press pairs: only a real release counts.
        if (k >= 0 && !key->isAutoRepeat())
            qtKeyReleased(k);
        break;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        // Only a press in the GL view counts: a click on the menu or status
        // bar neither turns the view nor cuts.
        const int k = buttonKey(static_cast<QMouseEvent*>(event)->button());
        if (k >= 0 && watched == qt.glView && forViewer(watched))
            qtKeyPressed(k);
        break;
    }
    case QEvent::MouseButtonRelease: {
        const int k = buttonKey(static_cast<QMouseEvent*>(event)->button());
        if (k >= 0)
            qtKeyReleased(k);
        break;
    }
    case QEvent::ApplicationDeactivate:
        qtClearKeys();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
