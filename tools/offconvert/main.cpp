// offconvert: turns a bare numeric mesh text into an OFF file next to it.
// Usage: offconvert <input>. Prints nothing and exits 0 on success; on a
// problem it prints one line on the standard error stream, leaves no output
// file behind and exits 1 (2 for a missing argument).
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <string>
#include <vector>

#include "convert.h"
#include "system_files.h"

namespace {

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
        std::fprintf(stderr, "usage : offconvert <fichier de nombres>\n");
        return 2;
    }
    std::string inputPath = arguments[1];
    std::FILE* in = openInputFile(inputPath);
    if (!in)
        return fail("impossible d'ouvrir le fichier d'entrée " + inputPath);

    // The output is written under a temporary name and renamed on success,
    // so a failed conversion never leaves a partial file.
    std::string outputPath = outputPathFor(inputPath);
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
