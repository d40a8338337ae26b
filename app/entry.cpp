// Start-up in its fixed order, then the message loop.
#include "app/entry.h"

#include "app/main_window.h"
#include "app/menu_commands.h"
#include "app/messages.h"
#include "app/model_commands.h"
#include "platform/platform_app.h"

// Outer size of the main window at start, frame included.
static constexpr int startWindowSize = 640;

int runViewer(const std::string& startModel)
{
    clientWidth = startWindowSize;
    clientHeight = startWindowSize;
    if (!platformCreateMainWindow(appTitle, startWindowSize, startWindowSize, defaultStatusText))
        return 0;
    platformAttachMenu(menuTable);
    if (startModel.empty())
        openModel();
    else
        loadModelFile(startModel);
    initGL();
    return platformRunLoop();
}
