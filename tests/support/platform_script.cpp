// Scripted platform: records boxes and presents, answers dialogs from queues.
#include "tests/support/platform_script.h"

#include <cstdlib>

std::vector<ScriptedBox> scriptBoxes;
std::deque<std::string> scriptFileAnswers;
std::vector<std::string> scriptFileDialogTitles;
std::vector<PlatformFileFilter> scriptLastFilters;
std::deque<long long> scriptColorAnswers;
std::vector<unsigned int> scriptColorStarts;
std::string scriptWindowTitle;
std::string scriptStatusText;
std::vector<std::string> scriptStatusTexts;
PlatformRect scriptWindowRect = {100, 100, 740, 740};
int scriptCursorX = 420, scriptCursorY = 420;
int scriptViewOriginX = 108, scriptViewOriginY = 150;
bool scriptKeys[platformKeyCount];
int scriptPresentCount = 0;
std::vector<int> scriptSleeps;
std::vector<std::string> scriptOpenedDocuments;
std::string scriptProgramDir = ".";
std::vector<int> scriptQuits;
std::vector<std::string> scriptBusyTexts;
int scriptBusyDepth = 0;

void (*platformExitHook)(int status) = nullptr;

void scriptReset()
{
    scriptBoxes.clear();
    scriptFileAnswers.clear();
    scriptFileDialogTitles.clear();
    scriptLastFilters.clear();
    scriptColorAnswers.clear();
    scriptColorStarts.clear();
    scriptWindowTitle.clear();
    scriptStatusText.clear();
    scriptStatusTexts.clear();
    scriptWindowRect = {100, 100, 740, 740};
    scriptCursorX = 420;
    scriptCursorY = 420;
    scriptViewOriginX = 108;
    scriptViewOriginY = 150;
    for (bool& k : scriptKeys)
        k = false;
    scriptPresentCount = 0;
    scriptSleeps.clear();
    scriptOpenedDocuments.clear();
    scriptProgramDir.assign(1, '.');
    scriptQuits.clear();
    scriptBusyTexts.clear();
    scriptBusyDepth = 0;
    platformExitHook = nullptr;
}

void platformMessageBox(PlatformIcon icon, const std::string& caption, const std::string& text)
{
    scriptBoxes.push_back({icon, caption, text});
}

bool platformOpenFileDialog(const std::string& title, const std::vector<PlatformFileFilter>& filters,
                            std::string& path)
{
    scriptFileDialogTitles.push_back(title);
    scriptLastFilters = filters;
    if (scriptFileAnswers.empty())
        return false;
    std::string answer = scriptFileAnswers.front();
    scriptFileAnswers.pop_front();
    if (answer.empty())
        return false;
    path = answer;
    return true;
}

bool platformChooseColor(unsigned int& color)
{
    scriptColorStarts.push_back(color);
    if (scriptColorAnswers.empty())
        return false;
    long long answer = scriptColorAnswers.front();
    scriptColorAnswers.pop_front();
    if (answer < 0)
        return false;
    color = static_cast<unsigned int>(answer);
    return true;
}

void platformSetWindowTitle(const std::string& title) { scriptWindowTitle = title; }

void platformSetStatusText(const std::string& text)
{
    scriptStatusText = text;
    scriptStatusTexts.push_back(text);
}

PlatformRect platformMainWindowRect() { return scriptWindowRect; }

void platformCursorPos(int& x, int& y)
{
    x = scriptCursorX;
    y = scriptCursorY;
}

void platformScreenToView(int& x, int& y)
{
    x -= scriptViewOriginX;
    y -= scriptViewOriginY;
}

bool platformKeyDown(PlatformKey key)
{
    return key >= 0 && key < platformKeyCount && scriptKeys[key];
}

void platformPresent() { ++scriptPresentCount; }

void platformSleepMs(int milliseconds) { scriptSleeps.push_back(milliseconds); }

void platformOpenDocument(const std::string& path) { scriptOpenedDocuments.push_back(path); }

std::string platformProgramDir() { return scriptProgramDir; }

void platformQuit(int status) { scriptQuits.push_back(status); }

void platformExitProcess(int status)
{
    if (platformExitHook)
        platformExitHook(status);
    std::_Exit(status);
}

void platformBeginBusy(const std::string& text)
{
    scriptBusyTexts.push_back(text);
    ++scriptBusyDepth;
    scriptStatusText = text;
    scriptStatusTexts.push_back(text);
}

void platformEndBusy() { --scriptBusyDepth; }
