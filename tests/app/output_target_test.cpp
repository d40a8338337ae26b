// Saving into a path where something stands already: the model's save and the
// command line's other output files write the file the path names (links
// followed and kept, mode kept) and refuse anything else, leaving it untouched.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "app/output_file.h"
#include "app/session.h"
#include "model/off_file.h"
#include "tests/app/app_fixture.h"

namespace {

const std::string triangleText = "OFF\n 3  1  0\n"
                                 "  0.000000  0.000000  0.000000\n"
                                 "  1.000000  0.000000  0.000000\n"
                                 "  0.000000  1.000000  0.000000\n"
                                 "  3  0  1  2\n";

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

mode_t typeOf(const std::string& path)
{
    struct stat info;
    return lstat(path.c_str(), &info) == 0 ? info.st_mode & S_IFMT : 0;
}

mode_t permissionsOf(const std::string& path)
{
    struct stat info;
    return stat(path.c_str(), &info) == 0 ? info.st_mode & 07777 : 0;
}

// Runs the step in a child process and returns its exit status (-1 when it did not exit).
int inChild(const std::function<int()>& step)
{
    pid_t child = fork();
    if (child == 0)
        _exit(step());
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

class OutputTargetTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        setMesh({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {{0, 1, 2}});
        char pattern[] = "/tmp/output_target_XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        folder = pattern;
    }
    void TearDown() override
    {
        std::string command = "rm -rf '" + folder + "'";
        EXPECT_EQ(std::system(command.c_str()), 0);
    }
    void put(const std::string& name, const std::string& text)
    {
        std::ofstream(folder + "/" + name, std::ios::binary) << text;
    }
    // Every name below the test folder, sub-folders included: no temporary file may be left.
    std::vector<std::string> allNames()
    {
        std::vector<std::string> names;
        std::string command = "cd '" + folder + "' && find . -mindepth 1 | sort > ../" + listName();
        EXPECT_EQ(std::system(command.c_str()), 0);
        std::istringstream list(readFile(folder + "/../" + listName()));
        for (std::string line; std::getline(list, line);)
            names.push_back(line);
        std::remove((folder + "/../" + listName()).c_str());
        return names;
    }
    std::string listName() { return folder.substr(folder.find_last_of('/') + 1) + ".list"; }
    std::string folder;
};

TEST_F(OutputTargetTest, ALinkIsFollowedToItsFileAndKept)
{
    // A chain: a relative link to a link in another folder, itself relative to its own folder.
    ASSERT_EQ(mkdir((folder + "/real").c_str(), 0755), 0);
    ASSERT_EQ(mkdir((folder + "/links").c_str(), 0755), 0);
    put("real/model.off", "earlier");
    ASSERT_EQ(symlink("../real/model.off", (folder + "/links/second").c_str()), 0);
    ASSERT_EQ(symlink("links/second", (folder + "/first.off").c_str()), 0);
    ASSERT_TRUE(writeModelFile(currentModel, folder + "/first.off"));
    EXPECT_EQ(readFile(folder + "/real/model.off"), triangleText);
    EXPECT_EQ(typeOf(folder + "/first.off"), S_IFLNK);
    EXPECT_EQ(typeOf(folder + "/links/second"), S_IFLNK);

    // The command line's files alike; an absolute link to a file not yet made makes it.
    ASSERT_EQ(symlink((folder + "/real/image.png").c_str(), (folder + "/image.png").c_str()), 0);
    ASSERT_TRUE(writeWholeFile(folder + "/image.png", "png", 3));
    EXPECT_EQ(readFile(folder + "/real/image.png"), "png");
    EXPECT_EQ(typeOf(folder + "/image.png"), S_IFLNK);
    EXPECT_EQ(allNames(), (std::vector<std::string>{"./first.off", "./image.png", "./links", "./links/second",
                                                    "./real", "./real/image.png", "./real/model.off"}));
}

TEST_F(OutputTargetTest, AnExistingFileKeepsItsModeAndANewOneGetsTheDefault)
{
    put("private.off", "earlier");
    ASSERT_EQ(chmod((folder + "/private.off").c_str(), 0600), 0);
    ASSERT_TRUE(writeModelFile(currentModel, folder + "/private.off"));
    EXPECT_EQ(permissionsOf(folder + "/private.off"), 0600u);
    EXPECT_EQ(readFile(folder + "/private.off"), triangleText);
    put("shared.obj", "earlier");
    ASSERT_EQ(chmod((folder + "/shared.obj").c_str(), 0664), 0);
    ASSERT_TRUE(writeWholeFile(folder + "/shared.obj", "v", 1));
    EXPECT_EQ(permissionsOf(folder + "/shared.obj"), 0664u);

    const mode_t before = umask(022);
    ASSERT_TRUE(writeModelFile(currentModel, folder + "/new.off"));
    umask(before);
    EXPECT_EQ(permissionsOf(folder + "/new.off"), 0644u);
}

TEST_F(OutputTargetTest, WhatIsNoRegularFileIsRefusedAndLeftAsItIs)
{
    ASSERT_EQ(mkfifo((folder + "/pipe.off").c_str(), 0644), 0);
    ASSERT_EQ(symlink("pipe.off", (folder + "/to_pipe.off").c_str()), 0);
    ASSERT_EQ(mkdir((folder + "/folder.off").c_str(), 0755), 0);
    ASSERT_EQ(symlink("loop.off", (folder + "/loop.off").c_str()), 0);
    for (const char* name : {"pipe.off", "to_pipe.off", "folder.off", "loop.off"}) {
        EXPECT_FALSE(writeModelFile(currentModel, folder + "/" + name)) << name;
        EXPECT_FALSE(writeWholeFile(folder + "/" + name, "x", 1)) << name;
    }
    // A device: a null device node of the test's own (never the system's, which
    // a regression would replace), where the process may make one.
    if (mknod((folder + "/device.off").c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0) {
        EXPECT_FALSE(writeModelFile(currentModel, folder + "/device.off"));
        EXPECT_FALSE(writeWholeFile(folder + "/device.off", "x", 1));
        EXPECT_EQ(typeOf(folder + "/device.off"), S_IFCHR);
        std::remove((folder + "/device.off").c_str());
    }
    EXPECT_EQ(typeOf(folder + "/pipe.off"), S_IFIFO);
    EXPECT_EQ(typeOf(folder + "/to_pipe.off"), S_IFLNK);
    EXPECT_EQ(typeOf(folder + "/folder.off"), S_IFDIR);
    EXPECT_EQ(allNames(), (std::vector<std::string>{"./folder.off", "./loop.off", "./pipe.off", "./to_pipe.off"}));
}

TEST_F(OutputTargetTest, AFileTheUserMayNotWriteIsRefused)
{
    // The folder lets anyone put a new file in the old one's place; the file itself may not be written.
    ASSERT_EQ(chmod(folder.c_str(), 0777), 0);
    put("locked.off", "earlier");
    ASSERT_EQ(chmod((folder + "/locked.off").c_str(), 0444), 0);
    const std::string locked = folder + "/locked.off";
    auto refusedTwice = [locked] { return !writeModelFile(currentModel, locked) && !writeWholeFile(locked, "x", 1) ? 0 : 1; };
    if (geteuid() != 0) {
        EXPECT_EQ(refusedTwice(), 0);
    } else {
        // The superuser may write it, as a copy onto it would; it stays read-only.
        ASSERT_TRUE(writeModelFile(currentModel, locked));
        EXPECT_EQ(permissionsOf(locked), 0444u);
        EXPECT_EQ(readFile(locked), triangleText);
        put("locked.off", "earlier");
        // Another user may not, whether the file is read-only or merely someone else's.
        EXPECT_EQ(inChild([&] { return setgid(65534) == 0 && setuid(65534) == 0 ? refusedTwice() : 2; }), 0);
        ASSERT_EQ(chmod(locked.c_str(), 0644), 0);
        EXPECT_EQ(inChild([&] { return setgid(65534) == 0 && setuid(65534) == 0 ? refusedTwice() : 2; }), 0);
    }
    EXPECT_EQ(readFile(locked), "earlier");
    EXPECT_EQ(allNames(), (std::vector<std::string>{"./locked.off"}));
}

TEST_F(OutputTargetTest, AWriteThatFailsLeavesTheOldFileWhole)
{
    // Files may grow to 100 bytes only: the model's text (over 100 bytes) cannot be written whole.
    put("model.off", "earlier");
    ASSERT_EQ(chmod((folder + "/model.off").c_str(), 0600), 0);
    const std::string path = folder + "/model.off";
    EXPECT_EQ(inChild([&] {
                  signal(SIGXFSZ, SIG_IGN);
                  struct rlimit limit = {100, 100};
                  if (setrlimit(RLIMIT_FSIZE, &limit) != 0)
                      return 2;
                  return !writeModelFile(currentModel, path) && !writeWholeFile(path, triangleText.data(), triangleText.size())
                             ? 0
                             : 1;
              }),
              0);
    EXPECT_EQ(readFile(path), "earlier");
    EXPECT_EQ(permissionsOf(path), 0600u);
    EXPECT_EQ(allNames(), (std::vector<std::string>{"./model.off"}));
}

} // namespace
