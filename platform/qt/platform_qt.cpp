// The platform layer on the desktop toolkit: boxes, dialogs, the main
// window's title, status text and geometry, cursor, keys, presenting, pauses,
// the help page and the message loop.
#include <QApplication>
#include <QColorDialog>
#include <QCursor>
#include <QDesktopServices>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QRegularExpression>
#include <QTimer>
#include <QUrl>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <thread>

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

void (*platformExitHook)(int status) = nullptr;

namespace {

// A frame is being drawn: no other frame may start inside it.
bool painting = false;
// The colour chooser's custom colours were set to their start value (black).
bool customColorsReady = false;

QWidget* dialogOwner() { return qtMainWindow; }

// Marks a modal box or dialog as open for its lifetime: no frame meanwhile,
// and the key table starts afresh on both sides (releases are lost while it is open).
struct ModalScope {
    ModalScope()
    {
        ++qtDialogDepth;
        qtClearKeys();
        qtUpdateIdleTimer();
    }
    ~ModalScope()
    {
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

} // namespace

void qtClearKeys()
{
    for (bool& k : qtKeys)
        k = false;
}

bool qtMayPaint()
{
    return qtFramesEnabled && qtGlView && qtGlView->isExposed() && !painting && qtDialogDepth == 0 &&
           !QApplication::activePopupWidget() && !qtQuitRequested;
}

void qtUpdateIdleTimer()
{
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
    if (!qtMayPaint() || !qtGlView->makeCurrent())
        return;
    painting = true;
    onIdle();
    painting = false;
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
    if (qtStatusLabel)
        qtStatusLabel->setText(QString::fromStdString(text));
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
    QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path)));
}

std::string platformProgramDir() { return QCoreApplication::applicationDirPath().toStdString(); }

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
