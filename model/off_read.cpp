// Opening a model: the file dialog, the file read and parsed, then the view
// reset and the topology.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <vector>

#include "app/messages.h"
#include "model/cutting.h"
#include "model/off_file.h"
#include "model/store.h"
#include "model/topology.h"
#include "platform/platform.h"
#include "render/view_state.h"

namespace {

const char* const faultyModelText = "Fichier modèle erroné";

} // namespace

void loadModelFile(const std::string& path)
{
    if (modelLoaded)
        releaseModel();
    // Only a regular file that opens is read; anything else is reported as faulty.
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat info;
    if (fd < 0 || fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size < 0) {
        if (fd >= 0)
            close(fd);
        fatalError(faultyModelText);
    }
    modelPath = path;
    platformSetWindowTitle(modelWindowTitle(path));
    bool sound = parseModelFile(fd, static_cast<size_t>(info.st_size));
    close(fd);
    if (!sound)
        fatalError(faultyModelText);
    resetView();
    topologyBuilt = false;
    uvComputed = false;
    closedWarned = false;
    // An edge picked on the previous model means nothing on this one.
    forgetPendingCut();
    buildTopology();
}

void openModel()
{
    std::string path;
    const std::vector<PlatformFileFilter> filters = {{"Fichier off (*.off)", "*.off"},
                                                     {"Tout fichier (*.*)", "*.*"}};
    if (!platformOpenFileDialog("Choisissez le fichier du modèle à ouvrir.", filters, path))
        return;
    loadModelFile(path);
}
