// The desktop platform's own state, shared by its files and by the GUI tests
// that drive the real window.
#pragma once

#include <deque>
#include <string>
#include <vector>

class QLabel;
class QTextBrowser;
class QTimer;
class QUrl;
class QWidget;
class GlView;
class ViewerWindow;

// The main window; null until platformCreateMainWindow made it.
extern ViewerWindow* qtMainWindow;
// The GL view inside the main window; null until made.
extern GlView* qtGlView;
// The widget that holds the GL view in the main window's layout.
extern QWidget* qtGlContainer;
// The status bar's single label.
extern QLabel* qtStatusLabel;
// The idle timer (0 ms) that draws a frame whenever the event queue is empty,
// as long as the picture needs frames (app/frame_demand.h).
extern QTimer* qtIdleTimer;
// The picture needs no frame until the next event: the idle timer is stopped.
extern bool qtFramesSettled;
// Down state of every key and button the frame polls.
extern bool qtKeys[];
// Modal boxes and dialogs open right now; no frame is drawn meanwhile.
extern int qtDialogDepth;
// Frames may be drawn: the scene is prepared and the message loop runs.
extern bool qtFramesEnabled;
// Frames presented since start.
extern long long qtPresentCount;
// The message loop was asked to end, and with which status.
extern bool qtQuitRequested;
extern int qtQuitStatus;
// Answers for coming open-file dialogs, used instead of showing them (GUI
// tests); an empty string means "cancelled".
extern std::deque<std::string> qtFileAnswers;
// When set, documents are recorded in qtOpenedDocuments instead of being
// handed to the desktop (GUI tests).
extern bool qtRecordDocuments;
// Documents asked to be opened while qtRecordDocuments was set.
extern std::vector<std::string> qtOpenedDocuments;
// Hands a document to the desktop's viewer; false when none took it.
// QDesktopServices::openUrl normally; GUI tests replace it.
extern bool (*qtOpenUrl)(const QUrl& url);
// The program's own help window, made the first time the desktop could not show the page.
extern QTextBrowser* qtHelpWindow;
// Busy spells begun and not yet ended.
extern int qtBusyDepth;

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
