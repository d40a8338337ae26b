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

void fatalUnlessOk(Outcome outcome)
{
    if (outcome != outcomeOk)
        fatalError(outcomeText(outcome));
}
