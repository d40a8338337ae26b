// The OFF reader on arbitrary bytes: the file is chosen through the open
// dialog and read as the program reads it. Either the model loads with a
// coherent store, or the fatal box ends the run with the model released.
// A loaded model is also saved and read back, which must give the same mesh.
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/model_commands.h"
#include "fuzz/fuzz_support.h"
#include "model/off_file.h"
#include "app/session.h"
#include "tests/support/platform_script.h"
#include "tests/support/store_invariants.h"

namespace {

std::string folder;

// Removes the folder and what the run left in it at the process end.
void removeWorkFolder()
{
    unlink((folder + "/model.off").c_str());
    unlink((folder + "/model_n.off").c_str());
    rmdir(folder.c_str());
}

// A folder of this process for the model file and the saved copies.
const std::string& workFolder()
{
    if (folder.empty()) {
        const char* base = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
        folder = std::string(base) + "/vormelin-fuzz-" + std::to_string(getpid());
        if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST)
            std::abort();
        std::atexit(removeWorkFolder);
    }
    return folder;
}

bool writeFile(const std::string& path, const uint8_t* data, size_t size)
{
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    bool ok = size == 0 || std::fwrite(data, 1, size, f) == size;
    return std::fclose(f) == 0 && ok;
}

// The texts the load may end the program with.
bool knownFatalBox()
{
    for (const char* text : {"Fichier modèle erroné", "Une face est erronée", "Problème de mémoire pour les arêtes",
                             "Une arête est erronée", "La topologie du modèle n'est pas admissible."})
        if (lastBoxIsFatal(text))
            return true;
    return false;
}

// Whether every coordinate is short enough in fixed notation that the saved
// lines stay within the reader's line length (the writer's "%f" of a huge
// value is hundreds of characters long).
bool coordinatesFitLines()
{
    for (const std::vector<double>* a : {&currentModel.vertexX, &currentModel.vertexY, &currentModel.vertexZ})
        for (int i = 0; i < currentModel.vertexCount; ++i)
            if (!(std::fabs((*a)[i]) < 1e30))
                return false;
    return true;
}

struct Corners {
    int vertices, faces;
    std::vector<int> a, b, c;
};

Corners takeMesh()
{
    return {currentModel.vertexCount, currentModel.faceCount, std::vector<int>(currentModel.faceA.begin(), currentModel.faceA.begin() + currentModel.faceCount),
            std::vector<int>(currentModel.faceB.begin(), currentModel.faceB.begin() + currentModel.faceCount),
            std::vector<int>(currentModel.faceC.begin(), currentModel.faceC.begin() + currentModel.faceCount)};
}

void saveAndReadBack()
{
    if (!coordinatesFitLines())
        return;
    Corners before = takeMesh();
    std::string savedPath = workFolder() + "/model_n.off";
    scriptBoxes.clear();
    saveModel();
    if (currentModel.modelPath != savedPath)
        requireNoFault("the model was not saved as " + savedPath, "save");
    if (!loadModelFile(savedPath))
        requireNoFault("a saved model cannot be read back: " + scriptBoxes.back().text, "read back");
    requireNoFault(storeInvariantFault(), "store after reading back");
    Corners after = takeMesh();
    if (after.vertices != before.vertices || after.faces != before.faces || after.a != before.a ||
        after.b != before.b || after.c != before.c)
        requireNoFault("the saved model reads back as another mesh", "read back");
    unlink(savedPath.c_str());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    resetHarnessState();
    std::string path = workFolder() + "/model.off";
    if (!writeFile(path, data, size))
        std::abort();
    scriptFileAnswers.push_back(path);
    bool ended = false;
    try {
        openModel();
    } catch (const FatalExit& exit) {
        ended = true;
        if (exit.status != 255)
            requireNoFault("fatal status " + std::to_string(exit.status), "fatal path");
        if (!knownFatalBox())
            requireNoFault("the run ended without its fatal box", "fatal path");
        if (currentModel.modelLoaded)
            requireNoFault("the model survived the fatal path", "fatal path");
    }
    requireNoFault(storeInvariantFault(), ended ? "store after the fatal box" : "store after loading");
    if (!ended) {
        if (!currentModel.modelLoaded || !currentModel.topologyBuilt)
            requireNoFault("a load returned without a model and its topology", "load");
        if (!scriptBoxes.empty())
            requireNoFault("a load showed a box: " + scriptBoxes.back().text, "load");
        saveAndReadBack();
    }
    resetHarnessState();
    return 0;
}
