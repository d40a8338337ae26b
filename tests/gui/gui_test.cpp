// The real program under an X server: window, menus and their guidance,
// dialogs and boxes, the GL view, the idle redraw and the ways it ends.
#include <GL/gl.h>

#include <QAction>
#include <QApplication>
#include <QColorDialog>
#include <QCursor>
#include <QDesktopServices>
#include <QDirIterator>
#include <QFileDialog>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <cmath>

#include "app/main_window.h"
#include "app/menu_commands.h"
#include "app/messages.h"
#include "app/menu_commands.h"
#include "model/off_file.h"
#include "app/session.h"
#include "platform/platform.h"
#include "platform/platform_app.h"
#include "platform/qt/gl_view.h"
#include "platform/qt/qt_platform.h"
#include "platform/qt/viewer_window.h"
#include "render/gl_setup.h"
#include "render/view_state.h"
#include "tests/gui/gui_support.h"
#include "render/textures.h"
#include "texture/texture.h"

namespace {

const std::string dataDir = std::string(SOURCE_DIR) + "/data/";

// Opens a model through the program's own command, the dialog answered with
// path; true when no box came up. A box is answered, so that a faulty file
// ends the test program at once instead of waiting for an answer.
bool openThroughDialog(const std::string& path)
{
    qt.fileAnswers.push_back(path);
    return runAnsweringModals([] { menuAction(cmdOpenModel)->trigger(); }).empty();
}

QString statusText() { return qt.statusLabel->text(); }

// What decides whether an input event reaches the view, for a failure message.
QString inputStateText()
{
    auto name = [](QObject* o) { return o ? QString(o->metaObject()->className()) : QString("none"); };
    return QString("focus %1, modal %2, popup %3, active window %4, focus window %5")
        .arg(name(QApplication::focusWidget()), name(QApplication::activeModalWidget()),
             name(QApplication::activePopupWidget()), name(QApplication::activeWindow()),
             name(QGuiApplication::focusWindow()));
}

// Near and far planes of the current perspective projection.
void projectionPlanes(double& zNear, double& zFar)
{
    qt.glView->makeCurrent();
    GLdouble m[16];
    glGetDoublev(GL_PROJECTION_MATRIX, m);
    zNear = m[14] / (m[10] - 1.0);
    zFar = m[14] / (m[10] + 1.0);
}

// Runs the test program itself in a child process on a scenario.
QProcess* startChild(const QString& scenario, const QString& model)
{
    auto* child = new QProcess;
    child->setProcessChannelMode(QProcess::SeparateChannels);
    child->start(QCoreApplication::applicationFilePath(), {"--child", scenario, model});
    return child;
}

} // namespace

class GuiTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(platformCreateMainWindow(appTitle, 640, 640, defaultStatusText));
        platformAttachMenu(menuTable);
        qt.recordDocuments = true;
        // The program's own order: the GL set-up may come before the window
        // manager has framed the window.
        QVERIFY(openThroughDialog(dataDir + "tore.off"));
        qt.glView->makeCurrent();
        initGL();
        QVERIFY(QTest::qWaitForWindowExposed(qt.mainWindow));
        qt.framesEnabled = true; // the test's own event processing is the loop
        qtUpdateIdleTimer();
    }

    void startsWithTheTitleSizeAndStatusText()
    {
        QCOMPARE(qt.mainWindow->windowTitle(), QString("Vormelin 0.35 - modèle affiché : tore.off"));
        QCOMPARE(qt.mainWindow->frameGeometry().size(), QSize(640, 640));
        QCOMPARE(statusText(), QString("Ici votre guidage ..."));
        QCOMPARE(currentModel.vertexCount, 1152);
        const QList<QAction*> tops = qt.mainWindow->menuBar()->actions();
        QCOMPARE(tops.size(), 5);
        QCOMPARE(tops[2]->text(), QString("Modèle"));
        QCOMPARE(menuAction(cmdQuit)->text(), QString("Quitter\tAlt+F4"));
        QCOMPARE(tops[1]->menu()->actions().size(), 16); // nine items, separator, one, separator, two, separator, one
        const PlatformRect r = platformMainWindowRect();
        QCOMPARE(r.right - r.left, 640);
        QCOMPARE(r.bottom - r.top, 640);
        // The view's size changing while the user did not resize the window
        // (the window manager's frame coming late, a bar shown or hidden):
        // the viewport follows and the start planes stay.
        const int viewHeight = qt.glView->height();
        qt.mainWindow->statusBar()->hide();
        QTRY_VERIFY(qt.glView->height() > viewHeight);
        double zNear, zFar;
        projectionPlanes(zNear, zFar);
        QVERIFY2(std::abs(zNear - 0.6) < 1e-6 && std::abs(zFar - 20.0) < 1e-4, qPrintable(QString::number(zNear)));
        GLint viewport[4];
        glGetIntegerv(GL_VIEWPORT, viewport);
        QCOMPARE(viewport[3], qt.glView->pixelHeight());
        qt.mainWindow->statusBar()->show();
        QTRY_COMPARE(qt.glView->height(), viewHeight);
    }

    void menusGiveTheKeysBackAndLeaveNoStaleImage()
    {
        QMenuBar* bar = qt.mainWindow->menuBar();
        const QList<QAction*> tops = bar->actions();
        // The main window itself holds the focus, as at start before any
        // click in the view.
        qt.glContainer->setFocus();
        qt.mainWindow->windowHandle()->requestActivate();
        QTRY_COMPARE(QGuiApplication::focusWindow(), qt.mainWindow->windowHandle());
        // A menu closed with Escape: the next arrow moves the view and opens no menu.
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(tops[0]).center());
        QTRY_VERIFY(tops[0]->menu()->isVisible());
        QTest::keyClick(tops[0]->menu(), Qt::Key_Escape);
        QTRY_VERIFY(!QApplication::activePopupWidget());
        settle(50);
        QVERIFY(QApplication::focusWidget() != bar);
        QWindow* focus = QGuiApplication::focusWindow();
        QVERIFY(focus);
        QTest::keyPress(focus, Qt::Key_Down);
        settle(50);
        QVERIFY(!QApplication::activePopupWidget());
        QVERIFY(platformKeyDown(keyDown));
        QTest::keyRelease(focus, Qt::Key_Down);
        // The pointer resting on a title takes no key.
        QTest::mouseMove(bar, bar->actionGeometry(tops[1]).center());
        QTRY_VERIFY(bar->activeAction());
        QTest::keyPress(QGuiApplication::focusWindow(), Qt::Key_C);
        QVERIFY(platformKeyDown(keyC));
        QTest::keyRelease(QGuiApplication::focusWindow(), Qt::Key_C);
        QTest::mouseMove(qt.glContainer, qt.glContainer->rect().center());
        // An item chosen in an open menu: a frame is painted over the closed
        // menu before its box opens.
        QMenu* help = tops[4]->menu();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(tops[4]).center());
        QTRY_VERIFY(help->isVisible());
        const long long before = qt.presentCount;
        long long atBox = -1;
        const std::vector<SeenModal> seen = runAnsweringModals(
            [&] { QTest::mouseClick(help, Qt::LeftButton, {}, help->actionGeometry(menuAction(cmdShortHelp)).center()); },
            [&](QWidget*) { atBox = qt.presentCount; });
        QCOMPARE(seen.size(), size_t(1));
        QVERIFY(atBox > before);
        menuAction(cmdInitialView)->trigger();
    }

    void firstFrameOfTheSampleIsNotBlank()
    {
        QVERIFY(waitForFrames(5));
        QScreen* screen = QGuiApplication::primaryScreen();
        const QPoint origin = qt.glView->mapToGlobal(QPoint(0, 0));
        const QImage shot =
            screen->grabWindow(0, origin.x(), origin.y(), qt.glView->width(), qt.glView->height()).toImage();
        shot.save(QString(SCREENSHOT_DIR) + "/first_frame.png");
        const QRect outer = qt.mainWindow->frameGeometry();
        screen->grabWindow(0, outer.x(), outer.y(), outer.width(), outer.height())
            .save(QString(SCREENSHOT_DIR) + "/main_window.png");
        QVERIFY(!shot.isNull());
        int background = 0, lit = 0;
        for (int y = 0; y < shot.height(); y += 2)
            for (int x = 0; x < shot.width(); x += 2) {
                const QColor c = shot.pixelColor(x, y);
                if (std::abs(c.red() - 38) <= 2 && std::abs(c.green() - 38) <= 2 && std::abs(c.blue() - 38) <= 2)
                    ++background;
                else if (c.red() > c.blue() + 30) // the orange uniform colour, lit
                    ++lit;
            }
        const int samples = (shot.width() / 2) * (shot.height() / 2);
        QVERIFY2(background > samples / 10, "the grey background is missing");
        QVERIFY2(lit > samples / 20, "the lit torus is missing");
    }

    void hoveringMenusShowsGuidanceAndLeavingRestoresIt()
    {
        QMenuBar* bar = qt.mainWindow->menuBar();
        const char* expected[] = {"Menu Fichier", "Menu Affichage", "Menu Modèle", "Menu Texture", "Menu Aide"};
        const QList<QAction*> tops = bar->actions();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(tops[0]).center());
        QTRY_VERIFY(tops[0]->menu()->isVisible());
        for (int i = 0; i < 5; ++i) {
            QTest::mouseMove(bar, bar->actionGeometry(tops[i]).center());
            QTRY_COMPARE(statusText(), QString(expected[i]));
            QCOMPARE(currentView.cursorTracked, false);
        }
        // Items of the open "Aide" menu, then of "Modèle".
        QMenu* help = tops[4]->menu();
        QTRY_VERIFY(help->isVisible());
        QTest::mouseMove(help, help->actionGeometry(help->actions()[1]).center());
        QTRY_COMPARE(statusText(), QString("Pour voir l'aide html en ligne."));
        QTest::mouseMove(bar, bar->actionGeometry(tops[2]).center());
        QMenu* model = tops[2]->menu();
        QTRY_VERIFY(model->isVisible());
        QTest::mouseMove(model, model->actionGeometry(model->actions()[4]).center());
        QTRY_COMPARE(statusText(), QString("Pour faire une itération de subdivision de C. Loop."));
        // The separator just below keeps the text.
        QTest::mouseMove(model, model->actionGeometry(model->actions()[5]).center());
        settle(100);
        QCOMPARE(statusText(), QString("Pour faire une itération de subdivision de C. Loop."));
        // No frame while a menu is open.
        const long long frames = qt.presentCount;
        settle(150);
        QCOMPARE(qt.presentCount, frames);
        // Leaving the menus.
        QTest::keyClick(model, Qt::Key_Escape);
        QTRY_VERIFY(!QApplication::activePopupWidget());
        // Escape on the highlighted menu bar leaves it; it does not end the program.
        QTest::keyClick(bar, Qt::Key_Escape);
        QVERIFY(!qt.quitRequested);
        QTRY_COMPARE(statusText(), QString("Ici votre guidage ..."));
        QVERIFY(waitForFrames(2));
    }

    void statisticsOfAClosedModelAndOfOneTriangle()
    {
        const std::string cube = writeTempModel(
            "vormelin_gui_cube8.off",
            "OFF\n8 12 0\n0 0 0\n1 0 0\n1 1 0\n0 1 0\n0 0 1\n1 0 1\n1 1 1\n0 1 1\n"
            "3 0 2 1\n3 0 3 2\n3 4 5 6\n3 4 6 7\n3 0 1 5\n3 0 5 4\n"
            "3 1 2 6\n3 1 6 5\n3 2 3 7\n3 2 7 6\n3 3 0 4\n3 3 4 7\n");
        QVERIFY(openThroughDialog(cube));
        QCOMPARE(qt.mainWindow->windowTitle(), QString("Vormelin 0.35 - modèle affiché : vormelin_gui_cube8.off"));
        std::vector<SeenModal> seen = runAnsweringModals([] { menuAction(cmdStatistics)->trigger(); });
        QCOMPARE(seen.size(), size_t(1));
        QCOMPARE(seen[0].title, QString("Vormelin 0.35"));
        QCOMPARE(seen[0].icon, int(QMessageBox::NoIcon));
        QCOMPARE(seen[0].text, QString("Le modèle actuel comprend : \n\n - 8 sommets\n\n - 12 faces\n\n - 18 arêtes"
                                       "\n\n - le modèle est fermé\n   il n'y a pas de frontière"));

        QVERIFY(openThroughDialog(writeTempModel("vormelin_gui_tri.off", "OFF\n3 1\n0 0 0\n1 0 0\n0 1 0\n3 0 1 2\n")));
        seen = runAnsweringModals([] { menuAction(cmdStatistics)->trigger(); });
        QCOMPARE(seen.size(), size_t(1));
        QVERIFY(seen[0].text.endsWith("\n\n - 3 arêtes de frontière"));
        QVERIFY(openThroughDialog(dataDir + "tore.off"));
    }

    void keysAreTrackedAndForgottenWhenABoxOpens()
    {
        QTest::keyPress(qt.glView, Qt::Key_Up);
        QVERIFY(platformKeyDown(keyUp));
        const double before = currentView.cameraDistance;
        QVERIFY(waitForFrames(3));
        QVERIFY(currentView.cameraDistance < before);
        runAnsweringModals([] { menuAction(cmdShortHelp)->trigger(); });
        QVERIFY(!platformKeyDown(keyUp));
        // A tap between two frames (no event processed in between) stays
        // down until one frame has seen it.
        QTest::keyPress(qt.glContainer, Qt::Key_D);
        QVERIFY(platformKeyDown(keyD));
        QTest::keyRelease(qt.glContainer, Qt::Key_D);
        QVERIFY(platformKeyDown(keyD));
        QVERIFY(waitForFrames(1));
        QVERIFY(!platformKeyDown(keyD));
        // A key that a frame saw is let go at once.
        QTest::keyPress(qt.glView, Qt::Key_D);
        QVERIFY(waitForFrames(1));
        QTest::keyRelease(qt.glView, Qt::Key_D);
        QVERIFY(!platformKeyDown(keyD));
        QTest::keyRelease(qt.glView, Qt::Key_Up);
        menuAction(cmdInitialView)->trigger();
        QCOMPARE(currentView.cameraDistance, 3.0);
    }

    void anIdleWindowDrawsNothingUntilAKeyIsHeld()
    {
        menuAction(cmdInitialView)->trigger();
        // Nothing moves: after a frame or two the window stops drawing.
        QTRY_VERIFY_WITH_TIMEOUT(qt.framesSettled, 5000);
        QVERIFY(!qt.idleTimer->isActive());
        long long frames = qt.presentCount;
        settle(400);
        QCOMPARE(qt.presentCount, frames);
        // A held key draws again, frame after frame, until it is let go.
        QTest::keyPress(qt.glView, Qt::Key_Up);
        QTRY_VERIFY_WITH_TIMEOUT(qt.presentCount >= frames + 5, 5000);
        QVERIFY(currentView.cameraDistance < 3.0);
        QVERIFY(!qt.framesSettled);
        QTest::keyRelease(qt.glView, Qt::Key_Up);
        QTRY_VERIFY_WITH_TIMEOUT(qt.framesSettled, 5000);
        const double distance = currentView.cameraDistance;
        frames = qt.presentCount;
        settle(300);
        QCOMPARE(qt.presentCount, frames);
        QCOMPARE(currentView.cameraDistance, distance);
        menuAction(cmdInitialView)->trigger();
    }

    void busySpellsShowTheWaitCursorAndTheirText()
    {
        // The text reaches the screen at once, with no event processed.
        QVERIFY(waitForFrames(1));
        auto grabStatus = [] {
            const QPoint at = qt.statusLabel->mapToGlobal(QPoint(0, 0));
            return QGuiApplication::primaryScreen()
                ->grabWindow(0, at.x(), at.y(), qt.statusLabel->width(), qt.statusLabel->height())
                .toImage();
        };
        const QImage idle = grabStatus();
        platformBeginBusy("Paramétrisation en cours…");
        QVERIFY(grabStatus() != idle);
        platformBeginBusy("Lecture du modèle…");
        QCOMPARE(statusText(), QString("Lecture du modèle…"));
        QVERIFY(QGuiApplication::overrideCursor());
        QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
        // A box during the spell gets the normal cursor.
        Qt::CursorShape underBox = Qt::WaitCursor;
        runAnsweringModals([] { platformMessageBox(iconError, "Vormelin", "ERREUR !!!"); },
                           [&](QWidget*) { underBox = QGuiApplication::overrideCursor()->shape(); });
        QCOMPARE(underBox, Qt::ArrowCursor);
        platformEndBusy();
        QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
        platformEndBusy();
        QVERIFY(!QGuiApplication::overrideCursor());
        platformSetStatusText(defaultStatusText);
    }

    void standardDialogsSpeakFrench()
    {
        QStringList buttons;
        const std::vector<SeenModal> seen = runAnsweringModals([] { menuAction(cmdOpenModel)->trigger(); },
                                                               [&](QWidget* w) {
                                                                   for (auto* b : w->findChildren<QPushButton*>())
                                                                       buttons << b->text().remove('&');
                                                                   // The file name typed in, as a user does:
                                                                   // selectFile() leaves a focused name field alone.
                                                                   if (auto* edit = w->findChild<QLineEdit*>("fileNameEdit"))
                                                                       edit->setText(QString::fromStdString(dataDir + "tore.off"));
                                                               });
        QCOMPARE(seen.size(), size_t(1));
        QCOMPARE(seen[0].className, QString("QFileDialog"));
        QVERIFY2(buttons.contains("Ouvrir") && buttons.contains("Annuler"), qPrintable(buttons.join(',')));
        QCOMPARE(qt.mainWindow->windowTitle(), QString("Vormelin 0.35 - modèle affiché : tore.off"));
    }

    void leftDragTurnsTheView()
    {
        menuAction(cmdInitialView)->trigger();
        const QPoint centre = qt.glView->mapToGlobal(QPoint(qt.glView->width() / 2, qt.glView->height() / 2));
        QCursor::setPos(centre);
        QVERIFY(waitForFrames(3));
        // A window manager hands the window back some time after the last
        // dialog closed; a user's press comes after that.
        QTRY_VERIFY2(!QApplication::activeModalWidget() && !QApplication::activePopupWidget() &&
                         QApplication::focusWidget() != qt.mainWindow->menuBar(),
                     qPrintable(inputStateText()));
        QTest::mousePress(qt.glView, Qt::LeftButton, {}, QPoint(qt.glView->width() / 2, qt.glView->height() / 2));
        QVERIFY2(platformKeyDown(keyLeftButton), qPrintable(inputStateText()));
        QCursor::setPos(centre + QPoint(30, 15));
        QTRY_VERIFY(std::abs(currentView.viewAngleY - 20.0) < 1e-9);
        QCOMPARE(currentView.viewAngleX, 10.0);
        QTest::mouseRelease(qt.glView, Qt::LeftButton, {}, QPoint(qt.glView->width() / 2, qt.glView->height() / 2));
        QVERIFY(!platformKeyDown(keyLeftButton));
        QCursor::setPos(centre);
        QVERIFY(waitForFrames(3));
        QCOMPARE(currentView.viewAngleY, 20.0);
        menuAction(cmdInitialView)->trigger();
    }

    void facesTwiceRestoresTheFaceMode()
    {
        currentView.faceMode = 2;
        menuAction(cmdShowFaces)->trigger();
        QCOMPARE(currentView.faceMode, 0);
        QVERIFY(!currentView.showFaces);
        menuAction(cmdShowFaces)->trigger();
        QCOMPARE(currentView.faceMode, 2);
        QVERIFY(currentView.showFaces);
        currentView.faceMode = currentView.savedFaceMode = 1;
    }

    void texturedModelOnThenOffRestoresTheView()
    {
        QVERIFY(openThroughDialog(dataDir + "calotte.off"));
        currentView.viewAngleX = 25;
        currentView.cameraDistance = 4;
        currentView.showEdges = true;
        menuAction(cmdTexturedModel)->trigger();
        QVERIFY(texturedModelOn);
        QCOMPARE(currentView.faceMode, 2);
        QCOMPARE(currentView.viewAngleX, 0.0);
        QVERIFY(waitForFrames(2));
        menuAction(cmdTexturedModel)->trigger();
        QVERIFY(!texturedModelOn);
        QCOMPARE(currentView.viewAngleX, 25.0);
        QCOMPARE(currentView.cameraDistance, 4.0);
        QVERIFY(currentView.showEdges);
        QCOMPARE(currentView.faceMode, 1);
        menuAction(cmdInitialView)->trigger();
    }

    void uvPlaneTextureAndTexturedModelExcludeOneAnother()
    {
        // calotte.off is open: it has an opening.
        menuAction(cmdShowTexture)->trigger();
        QVERIFY(currentView.showTexture);
        menuAction(cmdShowUvPlane)->trigger();
        menuAction(cmdTexturedModel)->trigger();
        QVERIFY(!currentView.showUvPlane);
        QVERIFY(!texturedModelOn);
        QVERIFY(waitForFrames(2));
        menuAction(cmdShowTexture)->trigger();
        QVERIFY(!currentView.showTexture);

        menuAction(cmdTexturedModel)->trigger();
        QVERIFY(texturedModelOn);
        menuAction(cmdShowUvPlane)->trigger();
        menuAction(cmdShowTexture)->trigger();
        QVERIFY(!currentView.showUvPlane);
        QVERIFY(!currentView.showTexture);
        menuAction(cmdTexturedModel)->trigger();
        QVERIFY(!texturedModelOn);
        QVERIFY(openThroughDialog(dataDir + "tore.off"));
    }

    void colourChooserStartsFromTheColourAndKeepsCustomColours()
    {
        const unsigned int start = uniformColor;
        std::vector<SeenModal> seen = runAnsweringModals(
            [] { menuAction(cmdChooseColor)->trigger(); },
            [start](QWidget* w) {
                auto* dialog = qobject_cast<QColorDialog*>(w);
                QVERIFY(dialog);
                const QColor c = dialog->currentColor();
                QCOMPARE(unsigned(c.red() | c.green() << 8 | c.blue() << 16), start);
                QColorDialog::setCustomColor(0, QColor(10, 20, 30));
                dialog->setCurrentColor(QColor(0x11, 0x22, 0x33));
            });
        QCOMPARE(seen.size(), size_t(1));
        QCOMPARE(uniformColor, 0x00332211u);
        QCOMPARE(QColorDialog::customCount(), 16);
        // Offered again at the next use.
        seen = runAnsweringModals([] { menuAction(cmdChooseColor)->trigger(); }, [](QWidget*) {
            QCOMPARE(QColorDialog::customColor(0), QColor(10, 20, 30));
            QCOMPARE(QColorDialog::customColor(1), QColor(0, 0, 0));
        });
        QCOMPARE(seen.size(), size_t(1));
        uniformColor = start;
        updateColorTexture();
    }

    void helpPageIsOpenedFromNextToTheProgram()
    {
        qt.openedDocuments.clear();
        menuAction(cmdHtmlHelp)->trigger();
        QCOMPARE(qt.openedDocuments.size(), size_t(1));
        QCOMPARE(QString::fromStdString(qt.openedDocuments[0]), QCoreApplication::applicationDirPath() + "/aide.html");
        // The build puts the page next to the real program.
        QVERIFY(QFileInfo(QFileInfo(VORMELIN_PATH).absolutePath() + "/aide.html").isFile());
        const std::vector<SeenModal> seen = runAnsweringModals([] { menuAction(cmdAbout)->trigger(); });
        QCOMPARE(seen.size(), size_t(1));
        QCOMPARE(seen[0].text.count('\n'), 2);
        // No viewer on the desktop: the program shows the page itself.
        qt.recordDocuments = false;
        qt.openUrl = [](const QUrl&) { return false; };
        menuAction(cmdHtmlHelp)->trigger();
        qt.openUrl = QDesktopServices::openUrl;
        qt.recordDocuments = true;
        QVERIFY(qt.helpWindow);
        QTRY_VERIFY(qt.helpWindow->isVisible());
        QVERIFY(qt.helpWindow->isReadOnly());
        QVERIFY(qt.helpWindow->windowTitle().contains("Aide"));
        QVERIFY(qt.helpWindow->toPlainText().contains("Menu Fichier"));
        qt.helpWindow->close();
    }

    void minimisingStopsTheRedrawAndRestoringResumesIt()
    {
        QVERIFY(waitForFrames(2));
        qt.mainWindow->showMinimized();
        QTRY_VERIFY(!renderActive);
        QVERIFY(!qt.idleTimer->isActive());
        settle(50);
        const long long frames = qt.presentCount;
        settle(300);
        QCOMPARE(qt.presentCount, frames);
        qt.mainWindow->showNormal();
        QTRY_VERIFY(renderActive);
        QVERIFY(waitForFrames(3));
    }

    void resizeKeepsTheViewAndStatusBarInPlace()
    {
        qt.mainWindow->resize(800, 500);
        QTRY_COMPARE(qt.mainWindow->size(), QSize(800, 500));
        QStatusBar* status = qt.mainWindow->statusBar();
        QTRY_COMPARE(status->geometry().bottom(), 499);
        QCOMPARE(status->geometry().left(), 0);
        QCOMPARE(status->width(), 800);
        const int menuHeight = qt.mainWindow->menuBar()->height();
        const QRect view = qt.glContainer->geometry();
        QCOMPARE(view.topLeft(), QPoint(0, menuHeight));
        QCOMPARE(view.width(), 800);
        QCOMPARE(view.bottom() + 1, status->geometry().top());
        QCOMPARE(clientWidth, 800);
        QCOMPARE(clientHeight, view.height());
        QTRY_COMPARE(qt.glView->size(), view.size());
        QVERIFY(waitForFrames(2));
        qt.glView->makeCurrent();
        GLint viewport[4];
        glGetIntegerv(GL_VIEWPORT, viewport);
        QCOMPARE(viewport[2], 800);
        QCOMPARE(viewport[3], view.height());
        double zNear, zFar;
        projectionPlanes(zNear, zFar);
        QVERIFY(std::abs(zNear - 0.1) < 1e-6 && std::abs(zFar - 100.0) < 1e-3);
    }

    void escapeEndsTheProgramWithZero()
    {
        QProcess* child = startChild("escape", QString::fromStdString(dataDir + "tore.off"));
        QVERIFY(child->waitForFinished(60000));
        QCOMPARE(child->exitStatus(), QProcess::NormalExit);
        QCOMPARE(child->exitCode(), 0);
        delete child;
    }

    void closingTheWindowQuittingOrAltF4EndsWithZero()
    {
        for (const char* scenario : {"close", "quit", "altf4"}) {
            QProcess* child = startChild(scenario, QString::fromStdString(dataDir + "cube.off"));
            QVERIFY(child->waitForFinished(60000));
            QCOMPARE(child->exitStatus(), QProcess::NormalExit);
            QCOMPARE(child->exitCode(), 0);
            delete child;
        }
    }

    void faultyModelAtStartShowsTheFatalBoxAndEndsWith255()
    {
        const std::string faulty = writeTempModel("vormelin_gui_faulty.off", "COFF\n3 1\n0 0 0\n1 0 0\n0 1 0\n3 0 1 2\n");
        QProcess* child = startChild("fatal", QString::fromStdString(faulty));
        QVERIFY(child->waitForFinished(60000));
        QCOMPARE(child->exitStatus(), QProcess::NormalExit);
        QCOMPARE(child->exitCode(), 255);
        const QString out = QString::fromUtf8(child->readAllStandardOutput());
        QVERIFY2(out.contains("BOX[Erreur irrémédiable\n\nL'application va se terminer\n\nFichier modèle erroné\n"
                              "ligne 1 : l'en-tête OFF manque]"),
                 qPrintable(out));
        delete child;
    }

    void theProgramsCommandLine()
    {
        QProcess help;
        help.start(VORMELIN_PATH, {"--help"});
        QVERIFY(help.waitForFinished(30000));
        QCOMPARE(help.exitCode(), 0);
        QVERIFY(help.readAllStandardOutput().contains("vormelin"));
        QProcess tooMany;
        tooMany.start(VORMELIN_PATH, {"a.off", "b.off"});
        QVERIFY(tooMany.waitForFinished(30000));
        QCOMPARE(tooMany.exitCode(), 2);
        // A mistyped or wrong model name is told on the terminal, with no window.
        for (const QString& wrong : {QString("/nonexistent/tore.off"), QString(SOURCE_DIR "/data")}) {
            QProcess missing;
            missing.start(VORMELIN_PATH, {wrong});
            QVERIFY(missing.waitForFinished(30000));
            QCOMPARE(missing.exitCode(), 2);
            const QStringList lines = QString::fromUtf8(missing.readAllStandardError()).split('\n');
            QVERIFY2(lines.contains("Fichier introuvable : " + wrong), qPrintable(lines.join('|')));
        }
    }

    void dialogsWriteNoUserSettings()
    {
        QTemporaryDir home;
        QVERIFY(home.isValid());
        QProcess child;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("HOME", home.path());
        environment.insert("XDG_CONFIG_HOME", home.path() + "/config");
        child.setProcessEnvironment(environment);
        child.start(QCoreApplication::applicationFilePath(), {"--child", "dialogs", QString::fromStdString(dataDir + "cube.off")});
        QVERIFY(child.waitForFinished(60000));
        QCOMPARE(child.exitCode(), 0);
        QStringList written;
        for (QDirIterator it(home.path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories); it.hasNext();)
            written << it.next();
        QVERIFY2(written.filter("QtProject").isEmpty() && !QFileInfo::exists(home.path() + "/config"),
                 qPrintable(written.join(',')));
    }
};

int main(int argc, char** argv)
{
    if (argc >= 4 && std::string(argv[1]) == "--child") {
        QApplication application(argc, argv);
        QApplication::setQuitOnLastWindowClosed(false);
        qtSetUpApplication();
        return runChildScenario(argv[2], argv[3]);
    }
    QApplication application(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    qtSetUpApplication();
    GuiTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "gui_test.moc"
