// offconvert: turns a bare numeric mesh text into an OFF file next to it.
// Usage: offconvert <input>. Prints nothing and exits 0 on success; on a
// problem it prints one line on the standard error stream, leaves no output
// file behind and exits 1 (2 for a missing argument). --help or -h prints the
// usage on the standard output and exits 0; --version prints the release number.
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <string>
#include <vector>

#include "convert.h"
#include "output_target.h"
#include "system_files.h"
#include "vormelin_version.h"

namespace {

const char usage[] = "usage : offconvert <fichier de nombres>\n";

const char description[] =
    "Convertit un maillage donné par ses seuls nombres (nombre de sommets, nombre de faces,\n"
    "x y z de chaque sommet, puis pour chaque face : 3 et les indices de ses trois sommets)\n"
    "en un fichier OFF écrit à côté : quatre caractères sont ôtés à la fin du nom et « off »\n"
    "est ajouté (cube.mesh donne cube.off, x.txt donne xoff).\n";

int fail(const std::string& message)
{
    std::fprintf(stderr, "offconvert : %s\n", message.c_str());
    return 1;
}

} // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string> arguments = programArguments(argc, argv);
    if (arguments.size() < 2) {
        std::fputs(usage, stderr);
        return 2;
    }
    if (arguments[1] == "--version") {
        std::printf("offconvert %s\n", VORMELIN_VERSION);
        return 0;
    }
    std::string inputPath = arguments[1];
    // A file of that name is still reached as ./-h.
    if (inputPath == "--help" || inputPath == "-h") {
        std::fputs(usage, stdout);
        std::fputs(description, stdout);
        return 0;
    }
    std::FILE* in = openInputFile(inputPath);
    if (!in)
        return fail("impossible d'ouvrir le fichier d'entrée " + inputPath);

    // The output is written under a temporary name and renamed on success,
    // so a failed conversion never leaves a partial file.
    // An existing output is replaced as the file its name stands for (links
    // followed, mode kept); anything but a writable regular file is refused.
    const std::string requestedOutput = outputPathFor(inputPath);
    OutputTarget target;
    const OutputRefusal refusal = resolveOutputTarget(requestedOutput, target);
    if (refusal != outputAllowed) {
        std::fclose(in);
        if (refusal == outputNotRegular)
            return fail("le fichier de sortie " + requestedOutput + " n'est pas un fichier ordinaire");
        if (refusal == outputNotWritable)
            return fail("le fichier de sortie " + requestedOutput + " est protégé en écriture");
        return fail("impossible de créer le fichier de sortie " + requestedOutput);
    }
    const std::string& outputPath = target.path;
    std::string temporary;
    std::FILE* out = nullptr;
    for (int attempt = 0; attempt < 100 && !out; ++attempt) {
        temporary = outputPath + ".tmp" + std::to_string(getpid()) + "_" + std::to_string(attempt);
        out = createOutputFile(temporary);
        if (!out && errno != EEXIST)
            break;
    }
    if (!out) {
        std::fclose(in);
        return fail("impossible de créer le fichier de sortie " + outputPath);
    }
    std::string problem;
    bool converted = convertNumericMesh(in, out, problem);
    std::fclose(in);
    if (converted && (!keepTargetMode(fileno(out), target) || !flushToDisk(out))) {
        converted = false;
        problem = "le fichier de sortie n'a pas pu être écrit";
    }
    if (std::fclose(out) != 0 && converted) {
        converted = false;
        problem = "le fichier de sortie n'a pas pu être écrit";
    }
    if (converted && !renameReplacing(temporary, outputPath)) {
        converted = false;
        problem = "impossible de créer le fichier de sortie " + outputPath;
    }
    if (!converted) {
        removeOutputFile(temporary);
        return fail(inputPath + " : " + problem);
    }
    return 0;
}
