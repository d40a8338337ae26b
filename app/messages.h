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
// fatalError with the outcome's text, unless the outcome is outcomeOk.
void fatalUnlessOk(Outcome outcome);
