// The platform layer on the desktop toolkit: boxes, dialogs, the main
// window's title, status text and geometry, cursor, keys, presenting, pauses,
// the help page, busy spells, the message loop and the application's set-up.
#include <QApplication>
#include <QColorDialog>
#include <QCursor>
#include <QDesktopServices>
#include <QFileDialog>
#include <QLabel>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QRegularExpression>
#include <QSettings>
#include <QTextBrowser>
#include <QTimer>
#include <QTranslator>
#include <QUrl>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "app/frame_demand.h"
#include "app/main_window.h"
#include "platform/platform.h"
#include "platform/platform_app.h"
#include "platform/qt/gl_view.h"
#include "platform/qt/input_filter.h"
#include "platform/qt/qt_platform.h"
#include "platform/qt/viewer_window.h"

QtPlatform qt = [] {
    QtPlatform state;
    state.openUrl = QDesktopServices::openUrl;
    return state;
}();

void (*platformExitHook)(int status) = nullptr;

namespace {

// A frame is being drawn: no other frame may start inside it.
bool painting = false;
// The colour chooser's custom colours were set to their start value (black).
bool customColorsReady = false;
// A frame has presented since the key went down.
bool keySeen[platformKeyCount];
// The key went up before any frame saw it: it stays down until the next present.
bool keyReleasePending[platformKeyCount];

QWidget* dialogOwner() { return qt.mainWindow; }

// Marks a modal box or dialog as open for its lifetime: no frame meanwhile,
// and the key table starts afresh on both sides (releases are lost while it is open).
struct ModalScope {
    ModalScope()
    {
        ++qt.dialogDepth;
        qtClearKeys();
        qtUpdateIdleTimer();
        // A box shown during a busy spell gets the normal cursor.
        if (qt.busyDepth > 0)
            QGuiApplication::setOverrideCursor(Qt::ArrowCursor);
    }
    ~ModalScope()
    {
        if (qt.busyDepth > 0)
            QGuiApplication::restoreOverrideCursor();
        --qt.dialogDepth;
        qtClearKeys();
        if (qt.glView)
            qt.glView->makeCurrent();
        qtUpdateIdleTimer();
    }
};

// "Label (*.a;*.b)" for the desktop's dialog: patterns separated by spaces,
// and "*.*" meaning every file, as on the system the texts come from.
QString nameFilter(const PlatformFileFilter& filter)
{
    QString patterns = QString::fromStdString(filter.pattern);
    patterns.replace(';', ' ');
    QStringList list = patterns.split(' ', Qt::SkipEmptyParts);
    for (QString& p : list)
        if (p == "*.*")
            p = "*";
    QString label = QString::fromStdString(filter.label);
    label.remove(QRegularExpression("\\s*\\([^()]*\\)\\s*$"));
    return label + " (" + list.join(' ') + ")";
}

// Shows the help page in a window of the program: a read-only HTML view.
void showHelpWindow(const QString& path)
{
    if (!qt.helpWindow) {
        qt.helpWindow = new QTextBrowser(dialogOwner());
        qt.helpWindow->setWindowFlag(Qt::Window);
        qt.helpWindow->setOpenExternalLinks(true);
        qt.helpWindow->resize(760, 700);
        QObject::connect(qt.helpWindow, &QObject::destroyed, [] { qt.helpWindow = nullptr; });
    }
    qt.helpWindow->setSource(QUrl::fromLocalFile(path));
    const QString title = qt.helpWindow->documentTitle();
    qt.helpWindow->setWindowTitle(title.isEmpty() ? QString("Aide") : title);
    qt.helpWindow->show();
    qt.helpWindow->raise();
    qt.helpWindow->activateWindow();
}

} // namespace

void qtClearKeys()
{
    for (int k = 0; k < platformKeyCount; ++k)
        qt.keys[k] = keySeen[k] = keyReleasePending[k] = false;
}

void qtKeyPressed(int key)
{
    if (!qt.keys[key])
        keySeen[key] = false;
    qt.keys[key] = true;
    keyReleasePending[key] = false;
}

void qtKeyReleased(int key)
{
    if (qt.keys[key] && !keySeen[key])
        keyReleasePending[key] = true;
    else
        qt.keys[key] = false;
}

void qtSetUpApplication()
{
    // Qt's own texts (standard dialogs' buttons and labels) in French, like
    // the program's; without the file they stay in English.
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (translator->load(QLocale(QLocale::French, QLocale::France), "qtbase", "_",
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(translator);
    else
        delete translator;
    // The standard dialogs keep their state (custom colours, visited folders)
    // in the user's Qt-wide settings. They are kept for the process only: the
    // user-scope settings live below a path that can never be a folder, so
    // nothing is read from or written to the user's configuration.
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, "/dev/null");
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, "/dev/null");
}

bool qtMayPaint()
{
    return qt.framesEnabled && qt.glView && qt.glView->isExposed() && !painting && qt.dialogDepth == 0 &&
           !QApplication::activePopupWidget() && !qt.quitRequested;
}

void qtUpdateIdleTimer()
{
    // Every call follows an event that may change the picture: frames again.
    qt.framesSettled = false;
    if (!qt.idleTimer)
        return;
    const bool run = qt.framesEnabled && renderActive && qt.dialogDepth == 0 && !QApplication::activePopupWidget() &&
                     !qt.quitRequested;
    if (run && !qt.idleTimer->isActive())
        qt.idleTimer->start();
    else if (!run && qt.idleTimer->isActive())
        qt.idleTimer->stop();
}

void qtIdleStep()
{
    if (!qtMayPaint() || !qt.glView->makeCurrent()) {
        // Nothing can be drawn now; the event that changes this (expose, a
        // closed dialog or menu) starts the frames again.
        qtSettleFrames();
        return;
    }
    painting = true;
    onIdle();
    painting = false;
    if (pictureNeedsFrame())
        qtUpdateIdleTimer();
    else
        qtSettleFrames();
}

void qtSettleFrames()
{
    qt.framesSettled = true;
    if (qt.idleTimer && qt.idleTimer->isActive())
        qt.idleTimer->stop();
}

// ---- What the logic uses ----

void platformMessageBox(PlatformIcon icon, const std::string& caption, const std::string& text)
{
    QMessageBox::Icon boxIcon = QMessageBox::NoIcon;
    if (icon == iconInformation)
        boxIcon = QMessageBox::Information;
    else if (icon == iconError)
        boxIcon = QMessageBox::Critical;
    QMessageBox box(boxIcon, QString::fromStdString(caption), QString::fromStdString(text),
                    QMessageBox::Ok, dialogOwner());
    box.setTextFormat(Qt::PlainText);
    ModalScope scope;
    box.exec();
}

bool platformOpenFileDialog(const std::string& title, const std::vector<PlatformFileFilter>& filters,
                            std::string& path)
{
    if (!qt.fileAnswers.empty()) {
        std::string answer = qt.fileAnswers.front();
        qt.fileAnswers.pop_front();
        if (answer.empty())
            return false;
        path = answer;
        return true;
    }
    QStringList nameFilters;
    for (const PlatformFileFilter& f : filters)
        nameFilters << nameFilter(f);
    QFileDialog dialog(dialogOwner(), QString::fromStdString(title));
    // Qt's own dialog: its texts are translated and it keeps no desktop history.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setNameFilters(nameFilters);
    if (!path.empty())
        dialog.selectFile(QString::fromStdString(path));
    ModalScope scope;
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    path = dialog.selectedFiles().first().toStdString();
    return true;
}

bool platformChooseColor(unsigned int& color)
{
    if (!customColorsReady) {
        for (int i = 0; i < QColorDialog::customCount(); ++i)
            QColorDialog::setCustomColor(i, QColor(0, 0, 0));
        customColorsReady = true;
    }
    const QColor start(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
    QColorDialog dialog(start, dialogOwner());
    dialog.setOption(QColorDialog::DontUseNativeDialog);
    ModalScope scope;
    if (dialog.exec() != QDialog::Accepted)
        return false;
    const QColor chosen = dialog.selectedColor();
    color = static_cast<unsigned int>(chosen.red()) | static_cast<unsigned int>(chosen.green()) << 8 |
            static_cast<unsigned int>(chosen.blue()) << 16;
    return true;
}

void platformSetWindowTitle(const std::string& title)
{
    if (qt.mainWindow)
        qt.mainWindow->setWindowTitle(QString::fromStdString(title));
}

void platformSetStatusText(const std::string& text)
{
    if (!qt.statusLabel)
        return;
    qt.statusLabel->setText(QString::fromStdString(text));
    // During a busy spell the command keeps the thread and no event is
    // processed: the label is painted now (a paint only, no input handled).
    if (qt.busyDepth > 0 && qt.statusLabel->isVisible())
        qt.statusLabel->repaint();
}

PlatformRect platformMainWindowRect()
{
    if (!qt.mainWindow)
        return {0, 0, 0, 0};
    const QRect r = qt.mainWindow->frameGeometry();
    return {r.x(), r.y(), r.x() + r.width(), r.y() + r.height()};
}

void platformCursorPos(int& x, int& y)
{
    const QPoint p = QCursor::pos();
    x = p.x();
    y = p.y();
}

void platformScreenToView(int& x, int& y)
{
    if (!qt.glView)
        return;
    const QPointF local = qt.glView->mapFromGlobal(QPointF(x, y));
    const double ratio = qt.glView->devicePixelRatio();
    x = static_cast<int>(std::floor(local.x() * ratio));
    y = static_cast<int>(std::floor(local.y() * ratio));
}

bool platformKeyDown(PlatformKey key) { return key >= 0 && key < platformKeyCount && qt.keys[key]; }

void platformPresent()
{
    if (qt.glView)
        qt.glView->present();
    // The frame has polled the keys: a tap that ended before it is let go now.
    for (int k = 0; k < platformKeyCount; ++k) {
        keySeen[k] = true;
        if (keyReleasePending[k])
            qt.keys[k] = keyReleasePending[k] = false;
    }
}

void platformSleepMs(int milliseconds)
{
    if (milliseconds > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

void platformOpenDocument(const std::string& path)
{
    if (qt.recordDocuments) {
        qt.openedDocuments.push_back(path);
        return;
    }
    const QString file = QString::fromStdString(path);
    // No viewer on the desktop for the page: the program shows it itself.
    if (!qt.openUrl(QUrl::fromLocalFile(file)))
        showHelpWindow(file);
}

std::string platformProgramDir()
{
    if (QCoreApplication::instance())
        return QCoreApplication::applicationDirPath().toStdString();
    // The headless command line runs with no application object: the
    // program's folder is that of the executable the kernel started.
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string(".") : program.parent_path().string();
}

void platformQuit(int status)
{
    qt.quitRequested = true;
    qt.quitStatus = status;
    qtUpdateIdleTimer();
    QCoreApplication::exit(status);
}

void platformExitProcess(int status)
{
    if (platformExitHook)
        platformExitHook(status);
    std::fflush(nullptr);
    std::_Exit(status);
}

void platformBeginBusy(const std::string& text)
{
    if (qt.busyDepth++ == 0)
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    // The command that follows keeps the thread: the text is painted now.
    platformSetStatusText(text);
}

void platformEndBusy()
{
    if (qt.busyDepth > 0 && --qt.busyDepth == 0)
        QGuiApplication::restoreOverrideCursor();
}

// ---- What the entry uses ----

bool platformCreateMainWindow(const std::string& title, int outerWidth, int outerHeight,
                              const std::string& statusText)
{
    qtClearKeys();
    qApp->installEventFilter(new InputFilter(qApp));
    qt.glView = new GlView;
    qt.glContainer = QWidget::createWindowContainer(qt.glView);
    qt.glContainer->setFocusPolicy(Qt::StrongFocus);
    qt.glContainer->setMinimumSize(1, 1);
    qt.mainWindow = new ViewerWindow(qt.glContainer, outerWidth, outerHeight, QString::fromStdString(statusText));
    qt.mainWindow->setWindowTitle(QString::fromStdString(title));
    qt.mainWindow->setWindowIcon(QIcon(":/vormelin/vormelin.png"));
    qt.idleTimer = new QTimer(qt.mainWindow);
    qt.idleTimer->setInterval(0);
    QObject::connect(qt.idleTimer, &QTimer::timeout, qtIdleStep);
    qt.mainWindow->show();
    qt.mainWindow->activateWindow();
    qt.glContainer->setFocus();
    QCoreApplication::processEvents();
    // Without a context the program runs on and draws nothing, after the box.
    qt.glView->createContext();
    return true;
}

void platformAttachMenu(const std::vector<PlatformMenuEntry>& menu)
{
    if (!qt.mainWindow)
        return;
    qt.mainWindow->buildMenu(menu);
    QCoreApplication::processEvents();
    qt.mainWindow->reportLayout();
    if (qt.glView)
        qt.glView->makeCurrent();
}

int platformRunLoop()
{
    if (qt.quitRequested)
        return qt.quitStatus;
    qt.framesEnabled = true;
    qtUpdateIdleTimer();
    const int status = QApplication::exec();
    return qt.quitRequested ? qt.quitStatus : status;
}
