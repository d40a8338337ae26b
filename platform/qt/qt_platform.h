// The desktop platform's own state, shared by its files and by the GUI tests
// that drive the real window.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "platform/platform.h"

class QLabel;
class QTextBrowser;
class QTimer;
class QUrl;
class QWidget;
class GlView;
class ViewerWindow;

// The desktop platform's state, one value.
struct QtPlatform {
    // The main window; null until platformCreateMainWindow made it.
    ViewerWindow* mainWindow = nullptr;
    // The GL view inside the main window; null until made.
    GlView* glView = nullptr;
    // The widget that holds the GL view in the main window's layout.
    QWidget* glContainer = nullptr;
    // The status bar's single label.
    QLabel* statusLabel = nullptr;
    // The idle timer (0 ms) that draws a frame whenever the event queue is empty,
    // as long as the picture needs frames (app/frame_demand.h).
    QTimer* idleTimer = nullptr;
    // The picture needs no frame until the next event: the idle timer is stopped.
    bool framesSettled = false;
    // Down state of every key and button the frame polls.
    bool keys[platformKeyCount] = {};
    // Modal boxes and dialogs open right now; no frame is drawn meanwhile.
    int dialogDepth = 0;
    // Frames may be drawn: the scene is prepared and the message loop runs.
    bool framesEnabled = false;
    // Frames presented since start.
    long long presentCount = 0;
    // The message loop was asked to end, and with which status.
    bool quitRequested = false;
    int quitStatus = 0;
    // Answers for coming open-file dialogs, used instead of showing them (GUI
    // tests); an empty string means "cancelled".
    std::deque<std::string> fileAnswers;
    // When set, documents are recorded in qt.openedDocuments instead of being
    // handed to the desktop (GUI tests).
    bool recordDocuments = false;
    // Documents asked to be opened while qt.recordDocuments was set.
    std::vector<std::string> openedDocuments;
    // Hands a document to the desktop's viewer; false when none took it.
    // QDesktopServices::openUrl normally; GUI tests replace it.
    bool (*openUrl)(const QUrl& url) = nullptr;
    // The program's own help window, made the first time the desktop could not show the page.
    QTextBrowser* helpWindow = nullptr;
    // Busy spells begun and not yet ended.
    int busyDepth = 0;
};
extern QtPlatform qt;

// Sets up the application once it exists, before any window: Qt's own texts
// in French, and the standard dialogs' settings kept for the process only.
void qtSetUpApplication();

// Forgets every key and button down (focus lost, dialog opened).
void qtClearKeys();
// A polled key or button went down or up. A press that no frame has seen
// yet stays down until the next present, so a tap shorter than a frame
// still reaches one frame.
void qtKeyPressed(int key);
void qtKeyReleased(int key);
// Starts the idle timer when frames may be drawn (window seen, no dialog, no
// open menu, no quit asked), stops it otherwise. No frame is drawn while a
// menu is open: a click that picks a menu item must not reach the view. It is
// called on every event that may change the picture (input, resize, expose,
// menu command, closed dialog), so it also ends a settled spell.
void qtUpdateIdleTimer();
// One idle step: a frame when frames may be drawn; then the timer runs on
// while the picture needs frames and is stopped (settled) otherwise.
void qtIdleStep();
// Stops the idle timer until the next event that may change the picture.
void qtSettleFrames();
// True when a frame may be drawn now.
bool qtMayPaint();
