// What the headless command line costs on a model of about 1M triangles,
// next to the menu path in this process:
//   - "vormelin --subdivide 1 --save OUT.off" against loadModelFile +
//     subdivideLoop + saveModel (in a fresh process each time, as the program is);
//   - "vormelin --snapshot OUT.png" against the program's load alone
//     ("--stats") plus context creation, start-up GL state and one first
//     frame at 640 x 640, and against a process of its own that loads and
//     draws two frames.
// A timed program: each figure is the best of a few runs.
// Usage: command_line_bench [path/to/vormelin] (by default the one of this build tree).
#include <GL/gl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "app/model_commands.h"
#include "app/session.h"
#include "bench/support/mesh_generators.h"
#include "model/off_file.h"
#include "tests/support/platform_script.h"
#include "render/frame.h"
#include "render/gl_setup.h"
#include "render/view_state.h"
#include "tests/support/egl_context.h"

namespace {
using Clock = std::chrono::steady_clock;
constexpr int runs = 5;
constexpr int triangles = 1000000;

double since(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

// Wall and CPU (user + system) seconds of one child process.
struct Cost {
    double wall = 1e9, cpu = 1e9;
    void keepBest(const Cost& other)
    {
        wall = std::min(wall, other.wall);
        cpu = std::min(cpu, other.cpu);
    }
};

// Runs body in a fresh child process and measures it from fork to exit; a negative wall time when it failed.
template <typename Body> Cost timeChild(Body body)
{
    const Clock::time_point start = Clock::now();
    const pid_t child = fork();
    if (child == 0)
        _exit(body());
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    const double wall = since(start);
    const double cpu = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                       1e-6 * static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec);
    return {WIFEXITED(status) && WEXITSTATUS(status) == 0 ? wall : -1.0, cpu};
}

// The program with the arguments, with no display and its output discarded.
Cost timeProgram(const std::string& program, std::vector<std::string> arguments)
{
    return timeChild([&] {
        unsetenv("DISPLAY");
        if (!freopen("/dev/null", "w", stdout))
            return 1;
        std::vector<char*> argv{const_cast<char*>(program.c_str())};
        for (std::string& a : arguments)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        execv(program.c_str(), argv.data());
        return 1;
    });
}

std::string defaultProgram()
{
    std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe");
    return (self.parent_path().parent_path() / "platform/qt/vormelin").string();
}
} // namespace

int main(int argc, char** argv)
{
    const std::string program = argc > 1 ? argv[1] : defaultProgram();
    const std::string dir = "/tmp/vormelin_command_line_bench";
    std::filesystem::create_directories(dir);
    const std::string model = dir + "/tore.off";
    if (!std::filesystem::exists(model) && !writeOffFile(torusMesh(triangles), model)) {
        std::fprintf(stderr, "cannot write %s\n", model.c_str());
        return 1;
    }

    // The menu path, each run in a fresh child process as the program runs in one:
    // the same cold heap and first touches of memory. The phases are timed in the child.
    double load = 1e9, step = 1e9, save = 1e9;
    Cost menu, subdivideRun, statsRun, snapshotRun;
    for (int r = 0; r < runs; ++r) {
        int channel[2];
        if (pipe(channel) != 0)
            return 1;
        menu.keepBest(timeChild([&] {
            close(channel[0]);
            scriptReset();
            const Clock::time_point start = Clock::now();
            loadModelFile(model);
            const double loaded = since(start);
            subdivideLoop();
            const double stepped = since(start);
            saveModel();
            const double times[3] = {loaded, stepped, since(start)};
            return write(channel[1], times, sizeof times) == static_cast<ssize_t>(sizeof times) ? 0 : 1;
        }));
        close(channel[1]);
        double times[3] = {};
        const bool received = read(channel[0], times, sizeof times) == static_cast<ssize_t>(sizeof times);
        close(channel[0]);
        if (!received)
            return 1;
        load = std::min(load, times[0]);
        step = std::min(step, times[1] - times[0]);
        save = std::min(save, times[2] - times[1]);
        // The program, from its start to its end, between the menu runs.
        subdivideRun.keepBest(timeProgram(program, {"--subdivide", "1", "--save", dir + "/out.off", model}));
        statsRun.keepBest(timeProgram(program, {"--stats", model}));
        snapshotRun.keepBest(timeProgram(program, {"--snapshot", dir + "/out.png", model}));
    }
    // Context creation, start-up state and the first frame, timed in a fresh
    // child process after its load, as the program meets them.
    double context = 1e9, firstFrame = 1e9, frame = 1e9;
    Cost frameProcess;
    for (int r = 0; r < runs; ++r) {
        int channel[2];
        if (pipe(channel) != 0)
            return 1;
        frameProcess.keepBest(timeChild([&] {
            close(channel[0]);
            scriptReset();
            loadModelFile(model);
            Clock::time_point start = Clock::now();
            if (!makeOffscreenContext(640, 640))
                return 1;
            setBasicGlState();
            initGLForSize(640, 640);
            glFinish();
            double times[3] = {since(start)};
            start = Clock::now();
            interaction.picked = renderFrame(currentModel, interaction);
            glFinish();
            times[1] = since(start);
            start = Clock::now();
            interaction.picked = renderFrame(currentModel, interaction);
            glFinish();
            times[2] = since(start);
            return write(channel[1], times, sizeof times) == static_cast<ssize_t>(sizeof times) ? 0 : 1;
        }));
        close(channel[1]);
        double times[3] = {};
        const bool received = read(channel[0], times, sizeof times) == static_cast<ssize_t>(sizeof times);
        close(channel[0]);
        if (!received)
            return 1;
        context = std::min(context, times[0]);
        firstFrame = std::min(firstFrame, times[1]);
        frame = std::min(frame, times[2]);
    }

    // The size after the step, read last so that every child above starts from a small process.
    loadModelFile(model);
    subdivideModel();
    const int faces = currentModel.faceCount;
    std::printf("model: %d triangles, %d after one Loop step; best of %d runs, wall (CPU) seconds\n\n", triangles,
                faces, runs);
    std::printf("subdivide 1 + save\n");
    std::printf("  menu path, in a process of its own: load %.3f + step %.3f + save %.3f; whole process %.3f (%.3f)\n",
                load, step, save, menu.wall, menu.cpu);
    std::printf("  command line, whole program:                                        %.3f (%.3f)  %+.1f %% (%+.1f %%)\n",
                subdivideRun.wall, subdivideRun.cpu, 100.0 * (subdivideRun.wall - menu.wall) / menu.wall,
                100.0 * (subdivideRun.cpu - menu.cpu) / menu.cpu);
    std::printf("snapshot 640x640\n");
    std::printf("  program with load alone (--stats): %.3f (%.3f)\n", statsRun.wall, statsRun.cpu);
    std::printf("  in a process of its own: context + GL start-up %.3f, first frame %.3f (second frame %.3f)\n", context,
                firstFrame, frame);
    std::printf("  a process of its own: load + context + two frames: %.3f (%.3f)\n", frameProcess.wall,
                frameProcess.cpu);
    std::printf("  command line --snapshot, whole program: %.3f (%.3f) = load + %.3f (%.3f); bound %.3f\n",
                snapshotRun.wall, snapshotRun.cpu, snapshotRun.wall - statsRun.wall, snapshotRun.cpu - statsRun.cpu,
                context + firstFrame);
    return subdivideRun.wall < 0 || statsRun.wall < 0 || snapshotRun.wall < 0 || menu.wall < 0 ? 1 : 0;
}
