// Parsing the command line into operations and running them without a window.
#include "app/command_line.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <new>
#include <string_view>

#include "app/menu_commands.h"
#include "app/messages.h"
#include "app/snapshot.h"
#include "app/session.h"
#include "base/file_system.h"
#include "model/mesh_formats.h"
#include "model/topology.h"
#include "render/view_state.h"
#include "vormelin_version.h"

std::vector<CliOperation> cliOperations;
std::string cliModelPath;

const char* const usageText =
    "Usage : vormelin [OPTIONS] MODELE\n"
    "\n"
    "MODELE est un fichier OFF, PLY, STL ou OBJ (reconnu à son extension, sinon à son contenu).\n"
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
    "  --save FICHIER         écrit le modèle, comme « Sauver le modèle » : en OFF, ou en PLY,\n"
    "                         STL ou OBJ selon l'extension de FICHIER (.ply, .stl, .obj)\n"
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

// Exactly the range the Up and Down keys give the camera distance, and the
// Left and Right keys the model scale: a value outside it draws what the
// window cannot show.
constexpr double nearestDistance = 1.5, farthestDistance = 15.0;
constexpr double smallestScale = 0.1, largestScale = 10.0;

bool readRange(std::string_view text, std::optional<double>& value, double low, double high)
{
    return readReal(text, value) && *value >= low && *value <= high;
}

// The view options: what the snapshots show and from where. Each takes a
// value that its reader may refuse, or none.
struct ViewOption {
    const char* name;
    bool takesValue;
    bool (*take)(std::string_view value);
};

const ViewOption viewOptions[] = {
    {"size", true, [](std::string_view v) { return readSize(v, snapshotSettings.width, snapshotSettings.height); }},
    {"show", true, readLayers},
    {"textured", false, [](std::string_view) { return snapshotSettings.textured = true; }},
    {"transparency", false, [](std::string_view) { return snapshotSettings.transparency = true; }},
    {"texture", true,
     [](std::string_view v) {
         namedTexturePath = v;
         return !v.empty();
     }},
    {"color", true, [](std::string_view v) { return readColor(v, snapshotSettings.color); }},
    {"view-angle-x", true, [](std::string_view v) { return readReal(v, snapshotSettings.viewAngleX); }},
    {"view-angle-y", true, [](std::string_view v) { return readReal(v, snapshotSettings.viewAngleY); }},
    {"view-angle-z", true, [](std::string_view v) { return readReal(v, snapshotSettings.viewAngleZ); }},
    {"camera-distance", true,
     [](std::string_view v) {
         return readRange(v, snapshotSettings.cameraDistance, nearestDistance, farthestDistance);
     }},
    {"model-scale", true,
     [](std::string_view v) { return readRange(v, snapshotSettings.modelScale, smallestScale, largestScale); }},
    {"pan-x", true, [](std::string_view v) { return readReal(v, snapshotSettings.panX); }},
    {"pan-y", true, [](std::string_view v) { return readReal(v, snapshotSettings.panY); }},
};

// A usage error: its reason on one line, and where the help is.
int usageError(const std::string& reason)
{
    std::fprintf(stderr, "vormelin : %s\nvormelin --help pour l'aide.\n", reason.c_str());
    return exitUsage;
}

// The value a command's option takes, as its argument kind reads it.
bool readArgument(const MenuCommand& command, std::string_view value, CliOperation& operation)
{
    switch (command.argument) {
    case argumentNone:
        return true;
    case argumentCount:
        return readCount(value, operation.number);
    case argumentPath:
        operation.path = value;
        return !value.empty();
    }
    return false;
}

// The image formats a snapshot is written in, by the extension of its file name.
bool snapshotFormatKnown(const std::string& path)
{
    for (const char* extension : {"png", "jpg", "jpeg"})
        if (hasExtension(path, extension))
            return true;
    return false;
}

// ---- Running

// What the user reads for a command that did not end well: the box's words,
// after the model's file name (or what the words are about).
int refuse(const CommandEnd& end)
{
    const std::string& subject = end.subject.empty() ? cliModelPath : end.subject;
    if (end.file.empty())
        std::fprintf(stderr, "%s : %s\n", subject.c_str(), commandMessage(end).c_str());
    else
        std::fprintf(stderr, "%s\n", commandMessage(end).c_str());
    return exitRefused;
}

// The progress bar of long commands on a terminal: one line, redrawn at most
// ten times a second, erased once the command ends.
struct ProgressBar {
    const char* command = "";
    ProgressThrottle throttle;
    bool drawn = false;
};

constexpr int barWidth = 30;

void drawProgressBar(double fraction, const char* phase, void* context)
{
    ProgressBar& bar = *static_cast<ProgressBar*>(context);
    if (!progressDue(bar.throttle, progressClock(), fraction))
        return;
    const int filled = static_cast<int>(fraction * barWidth + 0.5);
    std::fprintf(stderr, "\r\033[Kvormelin --%s [%-*s] %3d %% %s", bar.command, barWidth,
                 std::string(static_cast<size_t>(filled), '#').c_str(), static_cast<int>(fraction * 100.0 + 0.5),
                 phase);
    std::fflush(stderr);
    bar.drawn = true;
}

void eraseProgressBar(const ProgressBar& bar)
{
    if (bar.drawn) {
        std::fputs("\r\033[K", stderr);
        std::fflush(stderr);
    }
}

// Runs operation i through its command's handler; returns exitDone or the failure's status with its message told.
int runOperation(size_t i)
{
    const CliOperation& op = cliOperations[i];
    // Any other command, like any menu command, ends the possibility to undo.
    if (!op.command->keepsUndo)
        interaction.cutPickPending = false;
    CommandCall call;
    call.number = op.number;
    call.path = op.path;
    call.sameCommandNext = i + 1 < cliOperations.size() && cliOperations[i + 1].command == op.command;
    // Nothing is drawn when the standard error stream is not a terminal.
    ProgressBar bar;
    bar.command = op.command->option;
    Progress progress;
    if (standardErrorIsTerminal()) {
        progress.report = drawProgressBar;
        progress.context = &bar;
        call.progress = &progress;
    }
    const CommandEnd end = op.command->perform(call);
    eraseProgressBar(bar);
    return end.outcome == outcomeOk ? exitDone : refuse(end);
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
    namedTexturePath.clear();
    snapshotSettings = SnapshotSettings();
    std::string firstViewOption;
    for (int i = 1; i < argc; ++i) {
        std::string_view arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::fputs(usageText, stdout);
            std::printf("\nPage d'aide complète : %s\n", helpPagePath().c_str());
            return exitDone;
        }
        if (arg == "--version") {
            std::printf("Vormelin %s\n", VORMELIN_VERSION);
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
            const MenuCommand* command = commandOfOption(name);
            const ViewOption* view = nullptr;
            for (const ViewOption& o : viewOptions)
                if (name == o.name)
                    view = &o;
            if (!command && !view)
                return usageError("option inconnue : --" + std::string(name));
            const bool takesValue = command ? command->argument != argumentNone : view->takesValue;
            if (!takesValue && inlineValue)
                return usageError("l'option --" + std::string(name) + " ne prend pas de valeur");
            if (takesValue && !inlineValue) {
                if (i + 1 >= argc)
                    return usageError("l'option --" + std::string(name) + " attend une valeur");
                value = argv[++i];
            }
            bool taken;
            if (command) {
                CliOperation operation{command, 0, {}};
                taken = readArgument(*command, value, operation);
                if (taken)
                    cliOperations.push_back(operation);
            } else {
                taken = view->take(value);
                if (firstViewOption.empty())
                    firstViewOption = name;
            }
            if (!taken)
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
    bool snapshots = false;
    for (const CliOperation& op : cliOperations)
        if (op.command->perform == snapshotByName) {
            snapshots = true;
            if (!snapshotFormatKnown(op.path))
                return usageError("l'image de --snapshot s'écrit en .png, .jpg ou .jpeg : " + op.path);
        }
    if (!firstViewOption.empty() && !snapshots)
        return usageError("l'option --" + firstViewOption + " règle la vue des images : elle va avec --snapshot");
    // As for the window: a mistyped name is told before anything else.
    if (!isRegularFile(cliModelPath)) {
        std::fprintf(stderr, "Fichier introuvable : %s\n", cliModelPath.c_str());
        return exitUsage;
    }
    return parsedToRun;
}

int runOperations()
{
    // What opening the model does in the window, its boxes as messages.
    std::string reason;
    Outcome outcome = readMeshFile(cliModelPath, currentModel, reason);
    if (outcome == outcomeOk)
        outcome = buildTopology(currentModel);
    if (outcome != outcomeOk) {
        currentModel = Mesh();
        std::fprintf(stderr, "%s : %s%s%s\n", cliModelPath.c_str(), outcomeText(outcome), reason.empty() ? "" : "\n",
                     reason.c_str());
        return exitRefused;
    }
    resetView();
    forgetPendingCut(interaction.cuts);
    interaction.cutPickPending = false;
    for (size_t i = 0; i < cliOperations.size(); ++i) {
        int status;
        try {
            status = runOperation(i);
        } catch (const std::bad_alloc&) {
            // What the edits do not catch themselves (the export's or the image's buffers).
            status = refuse({outcomeNoMemory, "", "", ""});
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
