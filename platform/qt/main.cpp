// The vormelin program: the viewer on the desktop, optionally on a model
// named on the command line instead of asking for one; with any option, the
// headless command line instead, which needs no display.
#include <QApplication>
#include <QFileInfo>
#include <cstdio>
#include <string>

#include "app/command_line.h"
#include "app/entry.h"
#include "app/snapshot.h"
#include "platform/offscreen/offscreen_gl.h"
#include "platform/qt/qt_platform.h"
#include "platform/qt/viewer_window.h"
#include "vormelin_version.h"

int main(int argc, char** argv)
{
    // Decided before any toolkit object exists: the command line loads no
    // window-system plugin and runs with no display.
    if (commandLineRequested(argc, argv)) {
        snapshotContextMaker = makeOffscreenGlContext;
        return runCommandLine(argc, argv);
    }

    QApplication application(argc, argv);
    QApplication::setApplicationName("vormelin");
    QApplication::setApplicationVersion(VORMELIN_VERSION);
    QGuiApplication::setDesktopFileName("vormelin");
    // The program ends through its own handling of the main window's end.
    QApplication::setQuitOnLastWindowClosed(false);
    qtSetUpApplication();

    const QStringList arguments = QApplication::arguments();
    if (arguments.size() > 2) {
        std::fputs(usageText, stderr);
        return exitUsage;
    }
    std::string startModel;
    if (arguments.size() == 2) {
        // A mistyped name is told on the terminal, before any window.
        const QFileInfo file(arguments[1]);
        if (!file.isFile()) {
            std::fprintf(stderr, "Fichier introuvable : %s\n", arguments[1].toLocal8Bit().constData());
            return 2;
        }
        startModel = file.absoluteFilePath().toStdString();
    }

    const int status = runViewer(startModel);
    delete qt.mainWindow;
    qt.mainWindow = nullptr;
    return status;
}
