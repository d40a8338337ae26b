// Opening, saving, subdividing and parameterizing the model, and the texture
// commands: the core does the work, these decide what the user sees.
#include "app/model_commands.h"

#include <algorithm>
#include <new>
#include <string>
#include <utility>
#include <vector>

#include "app/edit_guard.h"
#include "app/menu_commands.h"
#include "app/mesh_save.h"
#include "app/messages.h"
#include "app/session.h"
#include "app/subdivision_memory.h"
#include "base/progress.h"
#include "base/system_memory.h"
#include "model/cutting.h"
#include "model/mesh_check.h"
#include "model/mesh_formats.h"
#include "model/off_file.h"
#include "model/subdivision.h"
#include "model/topology.h"
#include "param/parameterize.h"
#include "platform/platform.h"
#include "render/textures.h"
#include "render/view_state.h"
#include "texture/texture.h"

namespace {
// A command that may take long shows the wait cursor and names itself in the
// status bar while it runs, followed by the share done ("… 40 %") when the
// core tells its progress; the guidance text comes back afterwards.
class BusySpell {
public:
    explicit BusySpell(const char* text) : text_(text)
    {
        platformBeginBusy(text);
        progress_.report = showShareDone;
        progress_.context = this;
    }
    ~BusySpell()
    {
        platformEndBusy();
        setStatusText(defaultStatusText);
    }
    BusySpell(const BusySpell&) = delete;
    BusySpell& operator=(const BusySpell&) = delete;
    // The progress to hand to the command's core.
    const Progress* progress() const { return &progress_; }

private:
    // The status text with the percentage, renewed at most ten times a
    // second and only when the percentage changes.
    static void showShareDone(double fraction, const char*, void* context)
    {
        BusySpell& busy = *static_cast<BusySpell*>(context);
        if (!progressDue(busy.throttle_, progressClock(), fraction))
            return;
        const int percent = static_cast<int>(fraction * 100.0);
        if (percent == busy.shownPercent_)
            return;
        busy.shownPercent_ = percent;
        platformSetStatusText(busy.text_ + " " + std::to_string(percent) + " %");
    }

    std::string text_;
    Progress progress_;
    ProgressThrottle throttle_;
    int shownPercent_ = -1;
};
} // namespace

std::string modelFileName(const std::string& path)
{
    size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string modelWindowTitle(const std::string& path)
{
    return std::string(appTitle) + " - modèle affiché : " + modelFileName(path);
}

bool loadModelFile(const std::string& path)
{
    // The file becomes a whole model aside; the model on screen is replaced
    // only then, so a faulty file costs nothing of it.
    Mesh fresh;
    std::string reason;
    Outcome outcome;
    {
        BusySpell busy("Lecture du modèle…");
        outcome = readMeshFile(path, fresh, reason);
        if (outcome == outcomeOk)
            outcome = buildTopology(fresh);
    }
    if (outcome != outcomeOk) {
        const std::string text = reason.empty() ? outcomeText(outcome) : outcomeText(outcome) + ("\n" + reason);
        if (!currentModel.modelLoaded)
            fatalError(text);
        showError(text);
        return false;
    }
    currentModel = std::move(fresh);
    checkMeshAfterEdit(currentModel, "opening a model");
    platformSetWindowTitle(modelWindowTitle(path));
    resetView();
    // An edge picked on the previous model means nothing on this one.
    forgetPendingCut(interaction.cuts);
    interaction.closedWarned = false;
    return true;
}

void openModel()
{
    std::string path;
    const std::vector<PlatformFileFilter> filters = {{"Fichier off (*.off)", "*.off"},
                                                     {"Tout modèle (*.off *.ply *.stl *.obj)", "*.off *.ply *.stl *.obj"},
                                                     {"Fichier ply (*.ply)", "*.ply"},
                                                     {"Fichier stl (*.stl)", "*.stl"},
                                                     {"Fichier obj (*.obj)", "*.obj"},
                                                     {"Tout fichier (*.*)", "*.*"}};
    if (!platformOpenFileDialog("Choisissez le fichier du modèle à ouvrir.", filters, path))
        return;
    loadModelFile(path);
}

CommandEnd writeModelTo(const std::string& path)
{
    // A model whose every face was cut away would be written as a file that
    // no reader accepts (an OFF model has at least one face): nothing is written.
    if (currentModel.faceCount <= 0)
        return {outcomeEmptyModel, "", "", ""};
    if (!writeMeshFile(currentModel, path))
        return {outcomeWriteFailed, "", path, ""};
    return {};
}

void saveModel()
{
    if (!currentModel.modelLoaded)
        return;
    std::string path = savedModelPath(currentModel.modelPath);
    CommandEnd written;
    {
        BusySpell busy("Écriture du modèle…");
        written = writeModelTo(path);
    }
    if (written.outcome != outcomeOk) {
        showCommandEnd(written);
        return;
    }
    currentModel.modelPath = path;
    platformSetWindowTitle(modelWindowTitle(path));
    showInfo("Le nouveau modèle : " + modelFileName(path) + " est archivé.");
}

namespace {

// The notice of a parameterization refused for the model's shape: the
// "no opening" one once per mesh (closedWarned), the others each time.
void showParameterizationNotice(Outcome outcome)
{
    if (outcome == outcomeNoOpening) {
        if (!interaction.closedWarned)
            showInfo(outcomeText(outcome));
        interaction.closedWarned = true;
        return;
    }
    showInfo(outcomeText(outcome));
}

// The parameterization, a lack of memory reported like its other refusals.
Outcome parameterizeOrNoMemory(const Progress* progress)
{
    Outcome outcome;
    try {
        outcome = parameterize(currentModel, nullptr, progress);
    } catch (const std::bad_alloc&) {
        outcome = outcomeNoMemory;
    }
    return outcome;
}

} // namespace

Outcome parameterizeOutcome(const Progress* progress)
{
    if (currentModel.uvComputed || !currentModel.modelLoaded)
        return outcomeOk;
    if (!keepModelBeforeEdit())
        return outcomeNoMemory;
    Outcome outcome = parameterizeOrNoMemory(progress);
    if (outcomeSeverity(outcome) > severityNotice)
        putModelBack();
    else
        checkMeshAfterEdit(currentModel, "an edit");
    return outcome;
}

void parameterizeModel()
{
    if (currentModel.uvComputed || !currentModel.modelLoaded)
        return;
    Outcome outcome;
    {
        BusySpell busy("Paramétrisation en cours…");
        outcome = parameterizeOutcome(busy.progress());
    }
    if (outcomeSeverity(outcome) == severityNotice)
        showParameterizationNotice(outcome);
    else
        showCommandEnd({outcome, "La paramétrisation", "", ""});
}

long long (*editMemoryAvailable)() = availableMemoryBytes;

Outcome subdivideModel(const Progress* progress)
{
    if (!currentModel.modelLoaded)
        return outcomeOk;
    const bool parameterized = currentModel.uvComputed;
    // A step the system has no room for is refused before anything is
    // allocated, rather than have the process killed with the model.
    const Outcome room = checkSubdivisionMemory(currentModel, editMemoryAvailable());
    if (room != outcomeOk)
        return room;
    if (!keepModelBeforeEdit())
        return outcomeSubdivisionMemory;
    // The step's share of the whole: the re-parameterization costs far more
    // than the step, the topology about as much.
    const double stepShare = parameterized ? 0.1 : 0.5;
    const Progress stepPart = progressPart(progress, 0.0, stepShare);
    const Progress afterPart = progressPart(progress, stepShare, 1.0);
    Outcome outcome;
    try {
        outcome = refineLoopStep(currentModel, subdivisionThreadFaceCount, &stepPart);
        if (outcome == outcomeOk) {
            // The refined mesh renumbers every edge: a pending edge pick is void.
            forgetPendingCut(interaction.cuts);
            interaction.closedWarned = false;
            outcome = parameterized ? parameterizeOrNoMemory(&afterPart) : buildTopology(currentModel);
            if (outcome == outcomeOk)
                tellProgress(progress, 1.0, "topologie");
        }
    } catch (const std::bad_alloc&) {
        outcome = outcomeSubdivisionMemory;
    }
    // A notice of the re-parameterization leaves the refined mesh without
    // (u,v); any other refusal puts the mesh back as it was.
    if (outcomeSeverity(outcome) > severityNotice)
        putModelBack();
    else
        checkMeshAfterEdit(currentModel, "an edit");
    return outcome;
}

void subdivideLoop()
{
    if (!currentModel.modelLoaded)
        return;
    Outcome outcome;
    {
        BusySpell busy("Subdivision en cours…");
        outcome = subdivideModel(busy.progress());
    }
    if (outcomeSeverity(outcome) == severityNotice)
        showParameterizationNotice(outcome);
    else
        showCommandEnd({outcome, "La subdivision", "", ""});
}

bool chooseTextureFile(std::string& path)
{
    static const std::vector<PlatformFileFilter> filters = {{"Jpg Files (*.jpg)", "*.jpg"}};
    return platformOpenFileDialog("Choisissez le fichier de nouvelle texture à appliquer.", filters, path);
}

void loadTexture()
{
    // A cancelled dialog reads no file and keeps the texture loaded earlier.
    if (!chooseTextureFile(textureImages.texturePath) || textureImages.texturePath.empty())
        return;
    // An image that cannot be used leaves the texture as it was.
    const Outcome decoded = decodeJpegTexture(textureImages.texturePath, textureImages.textureImage);
    if (decoded != outcomeOk) {
        showError(outcomeText(decoded));
        return;
    }
    uploadImageTexture();
    textureImages.textureLoaded = true;
}

void chooseUniformColor()
{
    platformChooseColor(uniformColor);
    updateColorTexture();
}
