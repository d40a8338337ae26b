// The vormelin program: the viewer on the desktop, optionally on a model
// named on the command line instead of asking for one.
#include <QApplication>
#include <QFileInfo>
#include <cstdio>
#include <string>

#include "app/entry.h"
#include "platform/qt/qt_platform.h"
#include "platform/qt/viewer_window.h"

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QApplication::setApplicationName("vormelin");
    QApplication::setApplicationVersion("0.35");
    QGuiApplication::setDesktopFileName("vormelin");
    // The program ends through its own handling of the main window's end.
    QApplication::setQuitOnLastWindowClosed(false);
    qtSetUpApplication();

    const QStringList arguments = QApplication::arguments();
    if (arguments.size() > 1 && (arguments[1] == "--help" || arguments[1] == "-h")) {
        std::printf("Usage : vormelin [MODELE.off]\n");
        return 0;
    }
    if (arguments.size() > 2) {
        std::fprintf(stderr, "Usage : vormelin [MODELE.off]\n");
        return 2;
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
    delete qtMainWindow;
    qtMainWindow = nullptr;
    return status;
}
