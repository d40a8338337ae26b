// The main window's title while a model is shown.
#include "app/messages.h"
#include "model/off_file.h"

std::string modelFileName(const std::string& path)
{
    size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string modelWindowTitle(const std::string& path)
{
    return std::string(appTitle) + " - modèle affiché : " + modelFileName(path);
}
