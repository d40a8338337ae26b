// Status-bar guidance: one line of help for the highlighted menu or item,
// and the default text that stands there otherwise.
#pragma once

#include <string>

// The status bar's text when no menu is highlighted.
inline constexpr const char* defaultStatusText = "Ici votre guidage ...";

// Guidance for the top-level menu at the given position (0 Fichier .. 4 Aide),
// or null for any other position.
const char* popupGuidanceText(int position);
// Guidance for the menu item with the given command id, or null when the id
// has none (a separator, the end of menu tracking, an unknown id).
const char* commandGuidanceText(int id);

// Replaces the status bar's text.
void setStatusText(const std::string& text);
// Clears cursorTracked and shows the guidance of the top-level menu at the
// position; an unknown position leaves the status bar as it is.
void showPopupGuidance(int position);
// Clears cursorTracked and shows the guidance of the item with the command id;
// an id without guidance leaves the status bar as it is.
void showCommandGuidance(int id);
