// Helpers of the GUI tests: modal boxes answered from a timer, menu actions
// found by command id, waiting for frames, and the program's own start-up
// run in a child process.
#pragma once

#include <QString>
#include <functional>
#include <string>
#include <vector>

class QAction;
class QWidget;

// One modal box or dialog seen while an action ran.
struct SeenModal {
    QString className;
    QString title;
    QString text;
    int icon = 0;
};

// Runs the action; every modal widget that opens meanwhile is recorded, handed
// to answer (when given) and then accepted. Returns what was seen, in order.
std::vector<SeenModal> runAnsweringModals(const std::function<void()>& action,
                                          const std::function<void(QWidget*)>& answer = {});

// The menu bar action of the command id, or null.
QAction* menuAction(int id);

// Processes events until count more frames were presented or the time is up,
// waking the frames as an event would; returns whether they were.
bool waitForFrames(int count, int timeoutMs = 5000);

// Processes events for the given time.
void settle(int milliseconds);

// A small OFF file written for the test; returns its path.
std::string writeTempModel(const std::string& name, const std::string& text);

// The child-process side: runs the program's start-up on the model with the
// named scenario ("escape", "close", "quit", "altf4", "fatal", "dialogs": the
// colour chooser with a custom colour, then the open dialog cancelled) and
// returns its status.
int runChildScenario(const std::string& scenario, const std::string& model);
