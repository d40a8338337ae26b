// The help page's places, tried in order.
#include "app/help_page.h"

#include <filesystem>
#include <system_error>

std::string findHelpPage(const std::string& programDir, const std::string& pageName)
{
    namespace fs = std::filesystem;
    const std::string nextToProgram = programDir + "/" + pageName;
    const std::string shared =
        (fs::path(programDir) / ".." / "share" / "vormelin" / pageName).lexically_normal().string();
    for (const std::string& place : {nextToProgram, shared}) {
        std::error_code error;
        if (fs::is_regular_file(place, error))
            return place;
    }
    return nextToProgram;
}
