// Opening, saving, subdividing and parameterizing the model, and the texture
// commands: the core does the work, these decide what the user sees.
#include "app/model_commands.h"

#include <vector>

#include "app/messages.h"
#include "base/store.h"
#include "model/cutting.h"
#include "model/off_file.h"
#include "model/subdivision.h"
#include "model/topology.h"
#include "param/parameterize.h"
#include "platform/platform.h"
#include "render/textures.h"
#include "render/view_state.h"
#include "texture/texture.h"

std::string modelFileName(const std::string& path)
{
    size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string modelWindowTitle(const std::string& path)
{
    return std::string(appTitle) + " - modèle affiché : " + modelFileName(path);
}

void loadModelFile(const std::string& path)
{
    Outcome read = readModelFile(path);
    // modelPath names the file once it opened: the title shows it even when its content is faulty.
    if (!modelPath.empty())
        platformSetWindowTitle(modelWindowTitle(path));
    fatalUnlessOk(read);
    resetView();
    // An edge picked on the previous model means nothing on this one.
    forgetPendingCut();
    fatalUnlessOk(buildTopology());
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

void saveModel()
{
    if (!modelLoaded)
        return;
    std::string path = savedModelPath(modelPath);
    if (!writeModelFile(path)) {
        showError("Le fichier " + path + " " + outcomeText(outcomeWriteFailed));
        return;
    }
    modelPath = path;
    platformSetWindowTitle(modelWindowTitle(path));
    showInfo("Le nouveau modèle : " + modelFileName(path) + " est archivé.");
}

void parameterizeModel()
{
    Outcome outcome = parameterize();
    switch (outcome) {
    case outcomeOk:
        return;
    case outcomeNoOpening:
        if (!closedWarned)
            showInfo(outcomeText(outcome));
        closedWarned = true;
        return;
    case outcomeDisconnected:
    case outcomeDegenerate:
    case outcomeUnsolved:
        showInfo(outcomeText(outcome));
        return;
    default:
        fatalError(outcomeText(outcome));
    }
}

void subdivideLoop()
{
    if (!modelLoaded)
        return;
    bool parameterized = uvComputed;
    Outcome step = refineLoopStep();
    if (step != outcomeOk) {
        showError(outcomeText(step));
        return;
    }
    // The refined mesh renumbers every edge: a pending edge pick is void.
    forgetPendingCut();
    if (parameterized)
        parameterizeModel();
    else
        fatalUnlessOk(buildTopology());
}

bool chooseTextureFile(std::string& path)
{
    static const std::vector<PlatformFileFilter> filters = {{"Jpg Files (*.jpg)", "*.jpg"}};
    return platformOpenFileDialog("Choisissez le fichier de nouvelle texture à appliquer.", filters, path);
}

void loadTexture()
{
    // A cancelled dialog reads no file and keeps the texture loaded earlier.
    if (!chooseTextureFile(texturePath) || texturePath.empty())
        return;
    fatalUnlessOk(decodeJpegTexture(texturePath));
    uploadImageTexture();
    textureLoaded = true;
}

void chooseUniformColor()
{
    platformChooseColor(uniformColor);
    updateColorTexture();
}
