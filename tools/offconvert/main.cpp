// offconvert: turns a bare numeric mesh text into an OFF file next to it.
// Usage: offconvert <input>. Prints nothing and exits 0 on success; on a
// problem it prints one line on the standard error stream, leaves no output
// file behind and exits 1 (2 for a missing argument). offconvert --version
// prints the release number.
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <string>

#include "convert.h"
#include "vormelin_version.h"

namespace {

int fail(const std::string& message)
{
    std::fprintf(stderr, "offconvert : %s\n", message.c_str());
    return 1;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage : offconvert <fichier de nombres>\n");
        return 2;
    }
    if (std::string(argv[1]) == "--version") {
        std::printf("offconvert %s\n", VORMELIN_VERSION);
        return 0;
    }
    std::string inputPath = argv[1];
    std::FILE* in = std::fopen(inputPath.c_str(), "rb");
    if (!in)
        return fail("impossible d'ouvrir le fichier d'entrée " + inputPath);

    // The output is written under a temporary name and renamed on success,
    // so a failed conversion never leaves a partial file.
    std::string outputPath = outputPathFor(inputPath);
    std::string temporary;
    std::FILE* out = nullptr;
    for (int attempt = 0; attempt < 100 && !out; ++attempt) {
        temporary = outputPath + ".tmp" + std::to_string(getpid()) + "_" + std::to_string(attempt);
        out = std::fopen(temporary.c_str(), "wbx");
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
    if (converted && std::rename(temporary.c_str(), outputPath.c_str()) != 0) {
        converted = false;
        problem = "impossible de créer le fichier de sortie " + outputPath;
    }
    if (!converted) {
        std::remove(temporary.c_str());
        return fail(inputPath + " : " + problem);
    }
    return 0;
}
