// UTF-8 inside the program, UTF-16 at the Windows boundary.
#pragma once
#ifdef _WIN32

#include <string>

// The UTF-16 form of a UTF-8 text; invalid sequences become U+FFFD.
std::wstring utf8ToWide(const std::string& text);
// The UTF-8 form of a UTF-16 text.
std::string wideToUtf8(const std::wstring& text);

#endif
