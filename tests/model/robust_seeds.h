// Runs a fuzz target's input function on every file of its seed corpus
// (fuzz/corpus/<name>) and of its regression inputs (fuzz/regressions/<name>,
// the inputs that once made it fail), so that the ordinary suite, and its
// sanitizer build, go through every path the seeds reach. A broken
// invariant aborts the test program with its description on stderr.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

// Files of fuzz/corpus/<name> and fuzz/regressions/<name>, in name order.
inline std::vector<std::filesystem::path> fuzzInputFiles(const std::string& name)
{
    std::vector<std::filesystem::path> files;
    for (const char* folder : {"/fuzz/corpus/", "/fuzz/regressions/"}) {
        std::filesystem::path dir = std::string(SOURCE_DIR) + folder + name;
        if (!std::filesystem::is_directory(dir))
            continue;
        for (const auto& entry : std::filesystem::directory_iterator(dir))
            if (entry.is_regular_file())
                files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

// Feeds every input file to the target's function; returns how many it fed.
template <typename Target> int runFuzzInputs(const std::string& name, Target oneInput)
{
    int count = 0;
    for (const auto& path : fuzzInputFiles(name)) {
        SCOPED_TRACE(path.string());
        std::ifstream in(path, std::ios::binary);
        std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        // An empty input is given as a valid pointer to no bytes, as the fuzzer gives it.
        static const std::uint8_t none = 0;
        oneInput(bytes.empty() ? &none : bytes.data(), bytes.size());
        ++count;
    }
    return count;
}
