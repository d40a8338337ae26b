// Line access to an OFF text held in memory: raw lines limited in length, and
// significant lines (comments and blank lines skipped).
#include <cstring>

#include "model/off_file.h"

int nextRawLine(const char*& cursor, std::string_view& line, int maxLength)
{
    // The line runs to the next line feed or to the terminating NUL.
    size_t length = std::strcspn(cursor, "\n");
    bool fed = cursor[length] == '\n';
    if (length > static_cast<size_t>(maxLength)) {
        line = std::string_view();
        return fed ? lineTooLong : lineLastTooLong;
    }
    line = std::string_view(cursor, length);
    if (!fed)
        return lineLastRead;
    cursor += length + 1;
    return lineRead;
}

bool isBlankLine(std::string_view line)
{
    for (size_t i = 0; i + 1 < line.size(); ++i)
        if (line[i] != ' ')
            return false;
    return true;
}

int nextDataLine(const char*& cursor, std::string_view& line, int maxLength)
{
    for (;;) {
        int code = nextRawLine(cursor, line, maxLength);
        if (code != lineRead)
            return code;
        if (!line.empty() && (line[0] == '*' || line[0] == '#'))
            continue;
        if (isBlankLine(line))
            continue;
        return lineRead;
    }
}
