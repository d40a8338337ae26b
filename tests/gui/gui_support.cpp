// GUI test helpers.
#include "tests/gui/gui_support.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QColorDialog>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <fstream>

#include "app/entry.h"
#include "app/menu_commands.h"
#include "platform/qt/gl_view.h"
#include "platform/qt/qt_platform.h"
#include "platform/qt/viewer_window.h"

std::vector<SeenModal> runAnsweringModals(const std::function<void()>& action,
                                          const std::function<void(QWidget*)>& answer)
{
    std::vector<SeenModal> seen;
    QTimer poll;
    poll.setInterval(20);
    // A dialog that refuses its answer (a file dialog whose selection did not
    // take) would be answered forever: if it is still open after a few more
    // ticks it is rejected and recorded as stuck, so that the test fails
    // instead of hanging. A dialog that finished is forgotten at once, since
    // the next box may reuse its address.
    QWidget* answered = nullptr;
    int ticksSinceAnswer = 0;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible())
            return;
        if (modal == answered) {
            if (++ticksSinceAnswer < 10)
                return;
            seen.push_back(SeenModal{QStringLiteral("stuck ") + modal->metaObject()->className(),
                                     modal->windowTitle(), {}, 0});
            answered = nullptr;
            if (auto* dialog = qobject_cast<QDialog*>(modal))
                dialog->done(QDialog::Rejected);
            else
                modal->close();
            return;
        }
        SeenModal s;
        s.className = modal->metaObject()->className();
        s.title = modal->windowTitle();
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            s.text = box->text();
            s.icon = box->icon();
        }
        seen.push_back(s);
        if (answer)
            answer(modal);
        if (auto* dialog = qobject_cast<QDialog*>(modal)) {
            answered = modal;
            ticksSinceAnswer = 0;
            QObject::connect(dialog, &QDialog::finished, &poll, [&answered, modal] {
                if (answered == modal)
                    answered = nullptr;
            });
            dialog->accept();
        }
        else
            modal->close();
    });
    poll.start();
    action();
    poll.stop();
    return seen;
}

QAction* menuAction(int id)
{
    if (!qt.mainWindow)
        return nullptr;
    for (QAction* top : qt.mainWindow->menuBar()->actions())
        if (QMenu* menu = top->menu())
            for (QAction* item : menu->actions())
                if (!item->isSeparator() && item->data().toInt() == id)
                    return item;
    return nullptr;
}

bool waitForFrames(int count, int timeoutMs)
{
    const long long target = qt.presentCount + count;
    QElapsedTimer clock;
    clock.start();
    while (qt.presentCount < target && clock.elapsed() < timeoutMs) {
        // The test asks for frames as an event would: an idle program draws none by itself.
        qtUpdateIdleTimer();
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return qt.presentCount >= target;
}

void settle(int milliseconds) { QTest::qWait(milliseconds); }

std::string writeTempModel(const std::string& name, const std::string& text)
{
    // A folder of this process: the plain and the window-manager runs of the
    // GUI tests go side by side and must not read each other's half-written files.
    static QTemporaryDir folder;
    const std::string path = folder.path().toStdString() + "/" + name;
    std::ofstream out(path, std::ios::binary);
    out << text;
    return path;
}

int runChildScenario(const std::string& scenario, const std::string& model)
{
    // Acts once the main window is up and the loop runs.
    QTimer* act = new QTimer(qApp);
    act->setInterval(100);
    QObject::connect(act, &QTimer::timeout, [scenario] {
        static int dialogsShown = 0;
        if (QWidget* modal = QApplication::activeModalWidget()) {
            if (auto* box = qobject_cast<QMessageBox*>(modal)) {
                std::printf("BOX[%s]\n", box->text().toUtf8().constData());
                std::fflush(stdout);
            }
            ++dialogsShown;
            if (auto* file = qobject_cast<QFileDialog*>(modal))
                file->reject();
            else if (auto* dialog = qobject_cast<QDialog*>(modal)) {
                if (qobject_cast<QColorDialog*>(modal))
                    QColorDialog::setCustomColor(0, QColor(10, 20, 30));
                dialog->accept();
            }
            return;
        }
        // Once the window has drawn and gone idle, as a user finds it.
        if (!qt.mainWindow || !qt.mainWindow->isVisible() || qt.presentCount < 2 || !qt.framesSettled)
            return;
        // The commands run from their own event, so that this timer answers their dialogs.
        if (scenario == "dialogs" && dialogsShown < 2)
            QTimer::singleShot(0, [] { menuAction(dialogsShown == 0 ? cmdChooseColor : cmdOpenModel)->trigger(); });
        else if (scenario == "dialogs")
            qt.mainWindow->close();
        else if (scenario == "escape")
            QTest::keyClick(qt.glView, Qt::Key_Escape);
        else if (scenario == "close")
            qt.mainWindow->close();
        else if (scenario == "quit")
            menuAction(203)->trigger();
        else if (scenario == "altf4") {
            // No window manager here: the window is made active by hand, as
            // a desktop does when it is shown.
            qt.mainWindow->activateWindow();
            if (QApplication::activeWindow() == qt.mainWindow)
                QTest::keyClick(qt.glView, Qt::Key_F4, Qt::AltModifier);
        }
    });
    act->start();
    return runViewer(model);
}
