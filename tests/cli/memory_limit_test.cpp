// The real program asked for far more subdivision steps than memory allows,
// under an address-space limit: it refuses the step that would not fit with
// its message and status 1, quickly, instead of being killed.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

namespace fs = std::filesystem;

namespace {

std::string readFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

} // namespace

TEST(MemoryLimit, SubdivisionBeyondTheLimitIsRefusedQuickly)
{
#if defined(__SANITIZE_ADDRESS__)
    // AddressSanitizer reserves terabytes of address space for its shadow: no address-space limit can be set.
    GTEST_SKIP() << "no address-space limit under AddressSanitizer";
#endif
    const fs::path err = fs::temp_directory_path() / ("vormelin_memory_limit_" + std::to_string(getpid()) + ".txt");
    const std::string model = std::string(SOURCE_DIR) + "/data/tore.off";
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        struct rlimit limit = {2ULL << 30, 2ULL << 30};
        const int out = open("/dev/null", O_WRONLY);
        const int errFile = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (setrlimit(RLIMIT_AS, &limit) != 0 || out < 0 || errFile < 0)
            _exit(101);
        dup2(out, 1);
        dup2(errFile, 2);
        unsetenv("DISPLAY");
        unsetenv("WAYLAND_DISPLAY");
        setenv("QT_QPA_PLATFORM", "absent", 1);
        execl(VORMELIN_PATH, VORMELIN_PATH, "--subdivide", "50", "--stats", model.c_str(), static_cast<char*>(nullptr));
        _exit(102);
    }
    // Bounded wait: a child still running after a minute is killed and fails the test.
    int status = 0;
    pid_t ended = 0;
    while ((ended = waitpid(child, &status, WNOHANG)) == 0 && std::chrono::steady_clock::now() - start < std::chrono::seconds(60))
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    if (ended == 0) {
        kill(child, SIGKILL);
        waitpid(child, &status, 0);
        fs::remove(err);
        FAIL() << "the program was still subdividing after 60 s";
    }
    const std::string message = readFile(err);
    fs::remove(err);
    ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << (WIFSIGNALED(status) ? WTERMSIG(status) : 0);
    EXPECT_EQ(WEXITSTATUS(status), 1) << message;
    EXPECT_NE(message.find("Mémoire insuffisante pour la subdivision"), std::string::npos) << message;
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(30));
}
