// The scripted platform used by tests: it records what the logic shows and
// answers what the logic asks from values the test sets beforehand.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "platform/platform.h"

// One message box as the logic showed it.
struct ScriptedBox {
    PlatformIcon icon;
    std::string caption;
    std::string text;
};

// Every message box shown since the last scriptReset, in order.
extern std::vector<ScriptedBox> scriptBoxes;
// Answers for the coming open-file dialogs; an empty string means "cancelled".
// When the queue is empty a dialog is cancelled.
extern std::deque<std::string> scriptFileAnswers;
// Titles of the open-file dialogs shown, in order.
extern std::vector<std::string> scriptFileDialogTitles;
// Filters of the last open-file dialog shown.
extern std::vector<PlatformFileFilter> scriptLastFilters;
// Answers for the coming colour choosers (0x00BBGGRR); -1 means "cancelled".
// When the queue is empty a chooser is cancelled.
extern std::deque<long long> scriptColorAnswers;
// Start colours of the colour choosers shown, in order.
extern std::vector<unsigned int> scriptColorStarts;
// The last window title set.
extern std::string scriptWindowTitle;
// The last status text set.
extern std::string scriptStatusText;
// Every status text set since the last scriptReset, in order.
extern std::vector<std::string> scriptStatusTexts;
// The main window's outer rectangle in screen pixels.
extern PlatformRect scriptWindowRect;
// The cursor position in screen pixels.
extern int scriptCursorX, scriptCursorY;
// Screen position of the GL view's client origin.
extern int scriptViewOriginX, scriptViewOriginY;
// Down state of every key and button.
extern bool scriptKeys[platformKeyCount];
// Number of presents of the GL view.
extern int scriptPresentCount;
// Pauses asked for, in milliseconds, in order.
extern std::vector<int> scriptSleeps;
// Documents opened with the desktop's viewer, in order.
extern std::vector<std::string> scriptOpenedDocuments;
// The program folder that platformProgramDir answers.
extern std::string scriptProgramDir;
// Statuses passed to platformQuit, in order.
extern std::vector<int> scriptQuits;
// Texts of the busy spells begun, in order.
extern std::vector<std::string> scriptBusyTexts;
// Busy spells begun and not yet ended.
extern int scriptBusyDepth;

// Puts every scripted value back to its start: no boxes, empty queues, a
// 640 x 640 window at (100, 100), cursor at its centre, no key down, no
// presents, sleeps or busy spells, the exit hook cleared.
void scriptReset();
