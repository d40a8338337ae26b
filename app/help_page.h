// Where the help page lies: next to the program, or in the shared data folder
// of an install under a prefix.
#pragma once

#include <string>

// The first of the page's places that holds a file named pageName:
//   programDir/pageName                      the build tree, a Windows install folder
//   programDir/../share/vormelin/pageName    an install under a prefix (/usr/bin, /usr/share)
// When neither does, the first place, so that the failure to open it names
// where the page belongs.
std::string findHelpPage(const std::string& programDir, const std::string& pageName);
