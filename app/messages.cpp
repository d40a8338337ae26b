// Message boxes shown through the platform layer.
#include "app/messages.h"

#include "app/session.h"
#include "platform/platform.h"

std::string messageText;

void showInfo(const std::string& text) { platformMessageBox(iconNone, appTitle, text); }

void showError(const std::string& text)
{
    messageText = "ERREUR  !!!\n\n";
    messageText += text;
    platformMessageBox(iconInformation, appTitle, messageText);
}

void fatalError(const std::string& text)
{
    messageText = "Erreur irrémédiable\n\nL'application va se terminer\n\n";
    messageText += text;
    platformMessageBox(iconInformation, appTitle, messageText);
    currentModel = Mesh();
    platformQuit(0);
    platformExitProcess(255);
}

std::string commandMessage(const CommandEnd& end)
{
    const std::string words = outcomeText(end.outcome);
    switch (outcomeSeverity(end.outcome)) {
    case severityDone:
        return "";
    case severityFailure:
        return std::string(end.what) + " n'est pas possible : " + words;
    case severityNotice:
    case severityRefusal:
        break;
    }
    return end.file.empty() ? words : "Le fichier " + end.file + " " + words;
}

void showCommandEnd(const CommandEnd& end)
{
    if (outcomeSeverity(end.outcome) == severityDone)
        return;
    if (outcomeSeverity(end.outcome) == severityNotice)
        showInfo(commandMessage(end));
    else
        showError(commandMessage(end));
}
