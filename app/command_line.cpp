// Parsing the command line into operations and running them without a window.
#include "app/command_line.h"

#include <sys/stat.h>
#include <unistd.h>

#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <new>
#include <string_view>

#include "app/edit_guard.h"
#include "app/menu_commands.h"
#include "app/messages.h"
#include "app/model_commands.h"
#include "app/snapshot.h"
#include "app/uv_export.h"
#include "base/store.h"
#include "base/file_system.h"
#include "model/cutting.h"
#include "model/off_file.h"
#include "model/topology.h"
#include "render/view_state.h"
#include "texture/texture.h"

std::vector<CliOperation> cliOperations;
std::string cliModelPath;
std::string cliTexturePath;

const char* const usageText =
    "Usage : vormelin [OPTIONS] MODELE.off\n"
    "\n"
    "Sans option, le modèle s'ouvre dans la fenêtre (sans modèle, la fenêtre en demande un).\n"
    "Avec des options, aucune fenêtre ne s'ouvre : les opérations s'exécutent dans l'ordre donné,\n"
    "chacune comme la commande du menu, et la première qui échoue arrête tout.\n"
    "\n"
    "Opérations :\n"
    "  --subdivide N          N itérations de subdivision de Loop\n"
    "  --parameterize         paramétrisation (u,v) du modèle\n"
    "  --cut-vertex I         découpe du sommet I\n"
    "  --cut-edge I           découpe de l'arête I (position dans la table des arêtes) ;\n"
    "                         une seconde --cut-edge J juste après est le second clic\n"
    "  --cut-face I           découpe (suppression) de la face I\n"
    "  --undo                 annule la découpe qui précède (la touche Entrée)\n"
    "  --save FICHIER.off     écrit le modèle, comme « Sauver le modèle »\n"
    "  --save-uv FICHIER.obj  écrit le modèle et ses coordonnées (u,v) en OBJ (paramétrise si besoin)\n"
    "  --stats                statistiques du modèle sur la sortie standard\n"
    "  --snapshot IMAGE.png   image PNG de la vue, calculée hors écran\n"
    "\n"
    "Vue des images :\n"
    "  --size LxH             taille de l'image en pixels (640x640)\n"
    "  --show LISTE           couches affichées, séparées par des virgules : axes, vertices, edges,\n"
    "                         faces, normals, borders, boundary, uv, texture (faces seules sinon)\n"
    "  --textured             modèle texturé\n"
    "  --transparency         faces avec transparence\n"
    "  --texture IMAGE.jpg    image de texture (JPEG RVB 256x256)\n"
    "  --color RRVVBB         couleur unie des faces, en hexadécimal\n"
    "  --view-angle-x DEG, --view-angle-y DEG, --view-angle-z DEG   rotations de la vue\n"
    "  --camera-distance D    distance de l'œil (3)\n"
    "  --model-scale S        facteur d'échelle du modèle (1)\n"
    "  --pan-x X, --pan-y Y   décalage de la vue (0)\n"
    "\n"
    "  --help                 cette aide\n"
    "  --version              la version\n"
    "\n"
    "Statut de sortie : 0 si tout a réussi, 1 si le modèle est erroné ou une opération refusée,\n"
    "2 pour une erreur d'usage.\n";

namespace {

// ---- Parsing

// The largest side of a snapshot, in pixels.
constexpr int largestImageSide = 16384;

// A whole non-negative decimal integer.
bool readCount(std::string_view text, int& value)
{
    const char* end = text.data() + text.size();
    auto [ptr, error] = std::from_chars(text.data(), end, value);
    return error == std::errc() && ptr == end && value >= 0;
}

// A whole finite decimal number.
bool readReal(std::string_view text, double& value)
{
    const char* end = text.data() + text.size();
    auto [ptr, error] = std::from_chars(text.data(), end, value);
    return error == std::errc() && ptr == end && std::isfinite(value);
}

bool readReal(std::string_view text, std::optional<double>& value)
{
    double v;
    if (!readReal(text, v))
        return false;
    value = v;
    return true;
}

// "WxH", both sides from 1 to largestImageSide.
bool readSize(std::string_view text, int& width, int& height)
{
    size_t x = text.find('x');
    if (x == std::string_view::npos || !readCount(text.substr(0, x), width) || !readCount(text.substr(x + 1), height))
        return false;
    return width >= 1 && height >= 1 && width <= largestImageSide && height <= largestImageSide;
}

// "RRGGBB" (an optional leading '#'), into 0x00BBGGRR.
bool readColor(std::string_view text, std::optional<unsigned int>& color)
{
    if (!text.empty() && text[0] == '#')
        text.remove_prefix(1);
    unsigned int rgb = 0;
    const char* end = text.data() + text.size();
    auto [ptr, error] = std::from_chars(text.data(), end, rgb, 16);
    if (text.size() != 6 || error != std::errc() || ptr != end)
        return false;
    color = ((rgb >> 16) & 0xFFu) | (rgb & 0xFF00u) | ((rgb & 0xFFu) << 16);
    return true;
}

// A comma list of layer names; exactly these layers are shown.
bool readLayers(std::string_view text)
{
    SnapshotSettings& s = snapshotSettings;
    s.layersGiven = true;
    s.axes = s.vertices = s.edges = s.faces = s.normals = s.borders = s.boundary = s.uvPlane = s.texture = false;
    struct Layer {
        const char* name;
        bool SnapshotSettings::*flag;
    };
    static const Layer layers[] = {
        {"axes", &SnapshotSettings::axes},         {"vertices", &SnapshotSettings::vertices},
        {"edges", &SnapshotSettings::edges},       {"faces", &SnapshotSettings::faces},
        {"normals", &SnapshotSettings::normals},   {"borders", &SnapshotSettings::borders},
        {"boundary", &SnapshotSettings::boundary}, {"uv", &SnapshotSettings::uvPlane},
        {"texture", &SnapshotSettings::texture},
    };
    while (!text.empty()) {
        size_t comma = text.find(',');
        std::string_view name = text.substr(0, comma);
        text = comma == std::string_view::npos ? std::string_view() : text.substr(comma + 1);
        if (name.empty())
            continue;
        bool known = false;
        for (const Layer& layer : layers)
            if (name == layer.name) {
                s.*layer.flag = true;
                known = true;
            }
        if (!known)
            return false;
    }
    return true;
}

// How an option takes its value: none, or one that its reader may refuse.
enum ValueKind { noValue, withValue };

// One option: its name, whether it takes a value, and what it does with it (false: a bad value).
struct OptionRule {
    const char* name;
    ValueKind kind;
    bool (*take)(std::string_view value);
};

bool addOperation(CliOperationKind kind, int number = 0, std::string_view path = {})
{
    cliOperations.push_back({kind, number, std::string(path)});
    return true;
}

bool addIndexed(CliOperationKind kind, std::string_view value)
{
    int number;
    return readCount(value, number) && addOperation(kind, number);
}

bool addWithPath(CliOperationKind kind, std::string_view value)
{
    return !value.empty() && addOperation(kind, 0, value);
}

const OptionRule optionRules[] = {
    {"subdivide", withValue, [](std::string_view v) { return addIndexed(cliSubdivide, v); }},
    {"parameterize", noValue, [](std::string_view) { return addOperation(cliParameterize); }},
    {"cut-vertex", withValue, [](std::string_view v) { return addIndexed(cliCutVertex, v); }},
    {"cut-edge", withValue, [](std::string_view v) { return addIndexed(cliCutEdge, v); }},
    {"cut-face", withValue, [](std::string_view v) { return addIndexed(cliCutFace, v); }},
    {"undo", noValue, [](std::string_view) { return addOperation(cliUndo); }},
    {"save", withValue, [](std::string_view v) { return addWithPath(cliSave, v); }},
    {"save-uv", withValue, [](std::string_view v) { return addWithPath(cliSaveUv, v); }},
    {"stats", noValue, [](std::string_view) { return addOperation(cliStats); }},
    {"snapshot", withValue, [](std::string_view v) { return addWithPath(cliSnapshot, v); }},
    {"size", withValue,
     [](std::string_view v) { return readSize(v, snapshotSettings.width, snapshotSettings.height); }},
    {"show", withValue, readLayers},
    {"textured", noValue, [](std::string_view) { return snapshotSettings.textured = true; }},
    {"transparency", noValue, [](std::string_view) { return snapshotSettings.transparency = true; }},
    {"texture", withValue,
     [](std::string_view v) {
         cliTexturePath = v;
         return !v.empty();
     }},
    {"color", withValue, [](std::string_view v) { return readColor(v, snapshotSettings.color); }},
    {"view-angle-x", withValue, [](std::string_view v) { return readReal(v, snapshotSettings.viewAngleX); }},
    {"view-angle-y", withValue, [](std::string_view v) { return readReal(v, snapshotSettings.viewAngleY); }},
    {"view-angle-z", withValue, [](std::string_view v) { return readReal(v, snapshotSettings.viewAngleZ); }},
    {"camera-distance", withValue,
     [](std::string_view v) { return readReal(v, snapshotSettings.cameraDistance); }},
    {"model-scale", withValue, [](std::string_view v) { return readReal(v, snapshotSettings.modelScale); }},
    {"pan-x", withValue, [](std::string_view v) { return readReal(v, snapshotSettings.panX); }},
    {"pan-y", withValue, [](std::string_view v) { return readReal(v, snapshotSettings.panY); }},
};

int usageError(const std::string& reason)
{
    std::fprintf(stderr, "vormelin : %s\n\n%s", reason.c_str(), usageText);
    return exitUsage;
}

// ---- Running

// What the user reads for a failed operation: the box text, after the model's file name.
int refuse(const std::string& text)
{
    std::fprintf(stderr, "%s : %s\n", cliModelPath.c_str(), text.c_str());
    return exitRefused;
}

// The box of a file that could not be written, which names the file itself.
int refuseWrite(const std::string& path, Outcome why)
{
    std::fprintf(stderr, "Le fichier %s %s\n", path.c_str(), outcomeText(why));
    return exitRefused;
}

// The parameterization's refusals that are notices about the model's shape, told as such.
bool isParameterizationNotice(Outcome outcome)
{
    return outcome == outcomeNoOpening || outcome == outcomeDisconnected || outcome == outcomeDegenerate ||
           outcome == outcomeUnsolved;
}

// The text of a refused edit as its box words it: notices and the step's own refusals
// alone, the rest "<what> n'est pas possible : <why>".
std::string refusalText(const char* what, Outcome outcome)
{
    if (isParameterizationNotice(outcome) || outcome == outcomeTooLargeModel || outcome == outcomeImpossibleModel ||
        outcome == outcomeSubdivisionMemory)
        return outcomeText(outcome);
    return std::string(what) + " n'est pas possible : " + outcomeText(outcome);
}

using Clock = std::chrono::steady_clock;

// A step that took long gets one line on a terminal: what, the model's size, the seconds.
void reportProgress(const char* what, Clock::time_point start)
{
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    if (seconds > 1.0 && standardErrorIsTerminal())
        std::fprintf(stderr, "vormelin : %s : %d sommets, %d faces, %.1f s\n", what, vertexCount, faceCount,
                     seconds);
}

// The (u,v) an operation needs, computed as the menu does; outcomeOk when they exist.
Outcome ensureUv() { return uvComputed ? outcomeOk : parameterizeOutcome(); }

// Enter undoes only right after the click of a cut (a snapshot in between changes nothing).
bool undoPossible = false;

// Runs operation i; returns exitDone or the failure's status with its message told.
int runOperation(size_t i)
{
    const CliOperation& op = cliOperations[i];
    const Clock::time_point start = Clock::now();
    const bool followedByEdgeCut = i + 1 < cliOperations.size() && cliOperations[i + 1].kind == cliCutEdge;
    // Any other operation, like any menu command, ends the possibility to undo.
    if (op.kind != cliSnapshot && op.kind != cliUndo && op.kind != cliCutVertex && op.kind != cliCutEdge &&
        op.kind != cliCutFace)
        undoPossible = false;
    switch (op.kind) {
    case cliSubdivide:
        for (int step = 0; step < op.number; ++step) {
            const Clock::time_point stepStart = Clock::now();
            Outcome outcome = subdivideModel();
            if (outcome != outcomeOk)
                return refuse(refusalText("La subdivision", outcome));
            reportProgress("subdivision", stepStart);
        }
        return exitDone;
    case cliParameterize: {
        Outcome outcome = ensureUv();
        if (outcome != outcomeOk)
            return refuse(refusalText("La paramétrisation", outcome));
        reportProgress("paramétrisation", start);
        return exitDone;
    }
    case cliCutVertex:
    case cliCutEdge:
    case cliCutFace: {
        CutResult (*cut)(int) = op.kind == cliCutVertex ? cutVertex : op.kind == cliCutEdge ? cutEdge : cutFace;
        CutResult result = guardedCut(cut, op.number);
        undoPossible = false;
        if (result.outcome != outcomeOk)
            return refuse(refusalText("La découpe", result.outcome));
        if (result.effect == cutRefused)
            return refuse(outcomeText(outcomeNothingCut));
        if (result.effect == cutFirstEdgeKept) {
            if (followedByEdgeCut)
                return exitDone;
            forgetPendingCut();
            return refuse(outcomeText(outcomeSecondEdgeMissing));
        }
        undoPossible = true;
        reportProgress("découpe", start);
        return exitDone;
    }
    case cliUndo: {
        if (!undoPossible)
            return refuse(outcomeText(outcomeNothingToUndo));
        undoPossible = false;
        CutResult result = guardedCut(undoAsCut, 0);
        if (result.outcome != outcomeOk)
            return refuse(refusalText("L'annulation de la découpe", result.outcome));
        if (result.effect == cutRefused)
            return refuse(outcomeText(outcomeNothingToUndo));
        return exitDone;
    }
    case cliSave:
        // As the menu: a model with no face left would not open again.
        if (faceCount <= 0)
            return refuse(outcomeText(outcomeEmptyModel));
        if (!writeModelFile(op.path))
            return refuseWrite(op.path, outcomeWriteFailed);
        reportProgress("écriture du modèle", start);
        return exitDone;
    case cliSaveUv: {
        Outcome outcome = ensureUv();
        if (outcome != outcomeOk)
            return refuse(refusalText("La paramétrisation", outcome));
        if (!writeUvObjFile(op.path))
            return refuseWrite(op.path, outcomeFileNotWritten);
        reportProgress("écriture des coordonnées (u,v)", start);
        return exitDone;
    }
    case cliStats:
        std::printf("%s\n", statisticsText().c_str());
        return exitDone;
    case cliSnapshot: {
        if (snapshotNeedsUv()) {
            Outcome outcome = ensureUv();
            if (outcome != outcomeOk)
                return refuse(refusalText("La paramétrisation", outcome));
        }
        if (!cliTexturePath.empty() && !textureLoaded) {
            Outcome outcome = decodeJpegTexture(cliTexturePath);
            if (outcome != outcomeOk) {
                std::fprintf(stderr, "%s : %s\n", cliTexturePath.c_str(), outcomeText(outcome));
                return exitRefused;
            }
            textureLoaded = true;
        }
        Outcome outcome = writeSnapshot(op.path);
        if (outcome == outcomeFileNotWritten)
            return refuseWrite(op.path, outcome);
        if (outcome != outcomeOk)
            return refuse(outcomeText(outcome));
        reportProgress("image", start);
        return exitDone;
    }
    }
    return exitDone;
}

} // namespace

bool commandLineRequested(int argc, const char* const argv[])
{
    for (int i = 1; i < argc; ++i)
        if (std::strncmp(argv[i], "--", 2) == 0 || std::strcmp(argv[i], "-h") == 0)
            return true;
    return false;
}

int parseCommandLine(int argc, const char* const argv[])
{
    cliOperations.clear();
    cliModelPath.clear();
    cliTexturePath.clear();
    snapshotSettings = SnapshotSettings();
    for (int i = 1; i < argc; ++i) {
        std::string_view arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::fputs(usageText, stdout);
            return exitDone;
        }
        if (arg == "--version") {
            std::printf("%s\n", appTitle);
            return exitDone;
        }
        if (arg.size() > 1 && arg[0] == '-') {
            if (arg.substr(0, 2) != "--")
                return usageError("option inconnue : " + std::string(arg));
            std::string_view name = arg.substr(2), value;
            size_t equal = name.find('=');
            const bool inlineValue = equal != std::string_view::npos;
            if (inlineValue) {
                value = name.substr(equal + 1);
                name = name.substr(0, equal);
            }
            const OptionRule* rule = nullptr;
            for (const OptionRule& r : optionRules)
                if (name == r.name)
                    rule = &r;
            if (!rule)
                return usageError("option inconnue : --" + std::string(name));
            if (rule->kind == noValue && inlineValue)
                return usageError("l'option --" + std::string(name) + " ne prend pas de valeur");
            if (rule->kind == withValue && !inlineValue) {
                if (i + 1 >= argc)
                    return usageError("l'option --" + std::string(name) + " attend une valeur");
                value = argv[++i];
            }
            if (!rule->take(value))
                return usageError("valeur incorrecte pour --" + std::string(name) + " : " + std::string(value));
            continue;
        }
        if (!cliModelPath.empty())
            return usageError("un seul modèle à la fois : " + std::string(arg));
        cliModelPath = arg;
    }
    if (cliModelPath.empty())
        return usageError("aucun modèle indiqué");
    const SnapshotSettings& s = snapshotSettings;
    if (s.uvPlane + s.texture + s.textured > 1)
        return usageError("uv, texture et --textured s'excluent l'un l'autre");
    // As for the window: a mistyped name is told before anything else.
    if (!isRegularFile(cliModelPath)) {
        std::fprintf(stderr, "Fichier introuvable : %s\n", cliModelPath.c_str());
        return exitUsage;
    }
    return parsedToRun;
}

int runOperations()
{
    const Clock::time_point start = Clock::now();
    // What opening the model does in the window, its boxes as messages.
    Outcome outcome = readModelFile(cliModelPath);
    if (outcome != outcomeOk)
        return refuse(outcomeText(outcome));
    resetView();
    forgetPendingCut();
    outcome = buildTopology();
    if (outcome != outcomeOk)
        return refuse(outcomeText(outcome));
    reportProgress("lecture du modèle", start);
    undoPossible = false;
    for (size_t i = 0; i < cliOperations.size(); ++i) {
        int status;
        try {
            status = runOperation(i);
        } catch (const std::bad_alloc&) {
            // What the edits do not catch themselves (the export's or the image's buffers).
            status = refuse(outcomeText(outcomeNoMemory));
        }
        if (status != exitDone)
            return status;
    }
    std::fflush(stdout);
    return exitDone;
}

int runCommandLine(int argc, const char* const argv[])
{
    const int parsed = parseCommandLine(argc, argv);
    return parsed == parsedToRun ? runOperations() : parsed;
}
