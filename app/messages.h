// The viewer's message boxes: information, non-fatal error and fatal error,
// and the box each outcome of the core gets.
#pragma once

#include <string>

#include "base/outcome.h"
#include "vormelin_version.h"

// Caption of every box and the main window's title.
inline constexpr const char* appTitle = VORMELIN_TITLE;

// The text of the last error box, prefix included.
extern std::string messageText;

// Modal box with the text as it stands, no icon.
void showInfo(const std::string& text);
// Modal box "ERREUR  !!!\n\n" + text, information icon; the program goes on.
void showError(const std::string& text);
// Modal box "Erreur irrémédiable\n\nL'application va se terminer\n\n" + text,
// then releases the model and ends the process with status 255.
[[noreturn]] void fatalError(const std::string& text);
// The end of one command: its outcome, the command's name that a failure is
// told after ("La subdivision"), and the file a write refusal names.
struct CommandEnd {
    Outcome outcome = outcomeOk;
    const char* what = "";
    std::string file;
    // What the command line names before the words (the model when empty).
    std::string subject;
};

// The words the user reads for the end of a command, the one decision both
// the window and the command line take: a notice's or a refusal's own words,
// "Le fichier <file> <words>" for a file that could not be written, and a
// failure's words after "<what> n'est pas possible : ". Empty when done.
std::string commandMessage(const CommandEnd& end);
// The box of the end of a command: none when done, an information box for a
// notice, an error box otherwise.
void showCommandEnd(const CommandEnd& end);
