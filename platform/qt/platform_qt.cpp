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

ViewerWindow* qtMainWindow = nullptr;
GlView* qtGlView = nullptr;
QWidget* qtGlContainer = nullptr;
QLabel* qtStatusLabel = nullptr;
QTimer* qtIdleTimer = nullptr;
bool qtKeys[platformKeyCount];
int qtDialogDepth = 0;
bool qtFramesEnabled = false;
long long qtPresentCount = 0;
bool qtQuitRequested = false;
int qtQuitStatus = 0;
std::deque<std::string> qtFileAnswers;
bool qtRecordDocuments = false;
std::vector<std::string> qtOpenedDocuments;
bool (*qtOpenUrl)(const QUrl& url) = QDesktopServices::openUrl;
QTextBrowser* qtHelpWindow = nullptr;
int qtBusyDepth = 0;
bool qtFramesSettled = false;

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

QWidget* dialogOwner() { return qtMainWindow; }

// Marks a modal box or dialog as open for its lifetime: no frame meanwhile,
// and the key table starts afresh on both sides (releases are lost while it is open).
struct ModalScope {
    ModalScope()
    {
        ++qtDialogDepth;
        qtClearKeys();
        qtUpdateIdleTimer();
        // A box shown during a busy spell gets the normal cursor.
        if (qtBusyDepth > 0)
            QGuiApplication::setOverrideCursor(Qt::ArrowCursor);
    }
    ~ModalScope()
    {
        if (qtBusyDepth > 0)
            QGuiApplication::restoreOverrideCursor();
        --qtDialogDepth;
        qtClearKeys();
        if (qtGlView)
            qtGlView->makeCurrent();
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
    if (!qtHelpWindow) {
        qtHelpWindow = new QTextBrowser(dialogOwner());
        qtHelpWindow->setWindowFlag(Qt::Window);
        qtHelpWindow->setOpenExternalLinks(true);
        qtHelpWindow->resize(760, 700);
        QObject::connect(qtHelpWindow, &QObject::destroyed, [] { qtHelpWindow = nullptr; });
    }
    qtHelpWindow->setSource(QUrl::fromLocalFile(path));
    const QString title = qtHelpWindow->documentTitle();
    qtHelpWindow->setWindowTitle(title.isEmpty() ? QString("Aide") : title);
    qtHelpWindow->show();
    qtHelpWindow->raise();
    qtHelpWindow->activateWindow();
}

} // namespace

void qtClearKeys()
{
    for (int k = 0; k < platformKeyCount; ++k)
        qtKeys[k] = keySeen[k] = keyReleasePending[k] = false;
}

void qtKeyPressed(int key)
{
    if (!qtKeys[key])
        keySeen[key] = false;
    qtKeys[key] = true;
    keyReleasePending[key] = false;
}

void qtKeyReleased(int key)
{
    if (qtKeys[key] && !keySeen[key])
        keyReleasePending[key] = true;
    else
        qtKeys[key] = false;
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
    return qtFramesEnabled && qtGlView && qtGlView->isExposed() && !painting && qtDialogDepth == 0 &&
           !QApplication::activePopupWidget() && !qtQuitRequested;
}

void qtUpdateIdleTimer()
{
    // Every call follows an event that may change the picture: frames again.
    qtFramesSettled = false;
    if (!qtIdleTimer)
        return;
    const bool run = qtFramesEnabled && renderActive && qtDialogDepth == 0 && !QApplication::activePopupWidget() &&
                     !qtQuitRequested;
    if (run && !qtIdleTimer->isActive())
        qtIdleTimer->start();
    else if (!run && qtIdleTimer->isActive())
        qtIdleTimer->stop();
}

void qtIdleStep()
{
    if (!qtMayPaint() || !qtGlView->makeCurrent()) {
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
    qtFramesSettled = true;
    if (qtIdleTimer && qtIdleTimer->isActive())
        qtIdleTimer->stop();
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
    if (!qtFileAnswers.empty()) {
        std::string answer = qtFileAnswers.front();
        qtFileAnswers.pop_front();
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
    if (qtMainWindow)
        qtMainWindow->setWindowTitle(QString::fromStdString(title));
}

void platformSetStatusText(const std::string& text)
{
    if (!qtStatusLabel)
        return;
    qtStatusLabel->setText(QString::fromStdString(text));
    // During a busy spell the command keeps the thread and no event is
    // processed: the label is painted now (a paint only, no input handled).
    if (qtBusyDepth > 0 && qtStatusLabel->isVisible())
        qtStatusLabel->repaint();
}

PlatformRect platformMainWindowRect()
{
    if (!qtMainWindow)
        return {0, 0, 0, 0};
    const QRect r = qtMainWindow->frameGeometry();
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
    if (!qtGlView)
        return;
    const QPointF local = qtGlView->mapFromGlobal(QPointF(x, y));
    const double ratio = qtGlView->devicePixelRatio();
    x = static_cast<int>(std::floor(local.x() * ratio));
    y = static_cast<int>(std::floor(local.y() * ratio));
}

bool platformKeyDown(PlatformKey key) { return key >= 0 && key < platformKeyCount && qtKeys[key]; }

void platformPresent()
{
    if (qtGlView)
        qtGlView->present();
    // The frame has polled the keys: a tap that ended before it is let go now.
    for (int k = 0; k < platformKeyCount; ++k) {
        keySeen[k] = true;
        if (keyReleasePending[k])
            qtKeys[k] = keyReleasePending[k] = false;
    }
}

void platformSleepMs(int milliseconds)
{
    if (milliseconds > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

void platformOpenDocument(const std::string& path)
{
    if (qtRecordDocuments) {
        qtOpenedDocuments.push_back(path);
        return;
    }
    const QString file = QString::fromStdString(path);
    // No viewer on the desktop for the page: the program shows it itself.
    if (!qtOpenUrl(QUrl::fromLocalFile(file)))
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
    qtQuitRequested = true;
    qtQuitStatus = status;
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
    if (qtBusyDepth++ == 0)
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    // The command that follows keeps the thread: the text is painted now.
    platformSetStatusText(text);
}

void platformEndBusy()
{
    if (qtBusyDepth > 0 && --qtBusyDepth == 0)
        QGuiApplication::restoreOverrideCursor();
}

// ---- What the entry uses ----

bool platformCreateMainWindow(const std::string& title, int outerWidth, int outerHeight,
                              const std::string& statusText)
{
    qtClearKeys();
    qApp->installEventFilter(new InputFilter(qApp));
    qtGlView = new GlView;
    qtGlContainer = QWidget::createWindowContainer(qtGlView);
    qtGlContainer->setFocusPolicy(Qt::StrongFocus);
    qtGlContainer->setMinimumSize(1, 1);
    qtMainWindow = new ViewerWindow(qtGlContainer, outerWidth, outerHeight, QString::fromStdString(statusText));
    qtMainWindow->setWindowTitle(QString::fromStdString(title));
    qtMainWindow->setWindowIcon(QIcon(":/vormelin/vormelin.png"));
    qtIdleTimer = new QTimer(qtMainWindow);
    qtIdleTimer->setInterval(0);
    QObject::connect(qtIdleTimer, &QTimer::timeout, qtIdleStep);
    qtMainWindow->show();
    qtMainWindow->activateWindow();
    qtGlContainer->setFocus();
    QCoreApplication::processEvents();
    // Without a context the program runs on and draws nothing, after the box.
    qtGlView->createContext();
    return true;
}

void platformAttachMenu(const std::vector<PlatformMenuEntry>& menu)
{
    if (!qtMainWindow)
        return;
    qtMainWindow->buildMenu(menu);
    QCoreApplication::processEvents();
    qtMainWindow->reportLayout();
    if (qtGlView)
        qtGlView->makeCurrent();
}

int platformRunLoop()
{
    if (qtQuitRequested)
        return qtQuitStatus;
    qtFramesEnabled = true;
    qtUpdateIdleTimer();
    const int status = QApplication::exec();
    return qtQuitRequested ? qtQuitStatus : status;
}
