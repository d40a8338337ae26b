// The built offconvert program on small inputs: output text, naming,
// single-precision rounding, and its failures (message, status, no output).
#include <gtest/gtest.h>

#include <dirent.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>

namespace {

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string dataFile(const std::string& name) { return readFile(std::string(TEST_DATA_DIR) + "/offconvert/" + name); }

bool exists(const std::string& path)
{
    struct stat info;
    return stat(path.c_str(), &info) == 0;
}

class OffconvertTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/offconvert_XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        folder = pattern;
        ASSERT_EQ(mkdir((folder + "/out").c_str(), 0755), 0);
    }
    void TearDown() override
    {
        std::string command = "rm -rf '" + folder + "'";
        EXPECT_EQ(std::system(command.c_str()), 0);
    }
    // Writes a file under the test folder (name may hold a sub-folder).
    void put(const std::string& name, const std::string& text)
    {
        std::ofstream(folder + "/" + name, std::ios::binary) << text;
    }
    // Runs offconvert in the test folder with the given argument text;
    // returns its exit status and keeps what it printed.
    int run(const std::string& arguments)
    {
        std::string command = "cd '" + folder + "' && '" OFFCONVERT_PATH "' " + arguments + " >out/stdout 2>out/stderr";
        int status = std::system(command.c_str());
        printedOut = readFile(folder + "/out/stdout");
        printedErr = readFile(folder + "/out/stderr");
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    // The same run by the unprivileged user 65534 in a child process, the
    // test folder opened to everyone; -1 when the switch failed.
    int runAsNobody(const std::string& arguments)
    {
        chmod(folder.c_str(), 0777);
        chmod((folder + "/out").c_str(), 0777);
        unlink((folder + "/out/stdout").c_str());
        unlink((folder + "/out/stderr").c_str());
        std::string command = "cd '" + folder + "' && '" OFFCONVERT_PATH "' " + arguments + " >out/stdout 2>out/stderr";
        pid_t child = fork();
        if (child == 0) {
            if (setgid(65534) != 0 || setuid(65534) != 0)
                _exit(126);
            execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        int status = 0;
        waitpid(child, &status, 0);
        printedOut = readFile(folder + "/out/stdout");
        printedErr = readFile(folder + "/out/stderr");
        return WIFEXITED(status) && WEXITSTATUS(status) != 126 ? WEXITSTATUS(status) : -1;
    }
    // Files of the test folder other than the runner's own.
    std::vector<std::string> entries()
    {
        std::vector<std::string> names;
        DIR* dir = opendir(folder.c_str());
        while (dirent* entry = readdir(dir)) {
            std::string name = entry->d_name;
            if (name != "." && name != ".." && name != "out")
                names.push_back(name);
        }
        closedir(dir);
        std::sort(names.begin(), names.end());
        return names;
    }
    std::string folder, printedOut, printedErr;
};

TEST_F(OffconvertTest, ATriangleOnOneLineOrSpreadGivesTheSameOffText)
{
    put("tri.txt", dataFile("triangle_line.txt"));
    EXPECT_EQ(run("tri.txt"), 0);
    EXPECT_EQ(printedOut, "");
    EXPECT_EQ(printedErr, "");
    EXPECT_EQ(readFile(folder + "/trioff"), dataFile("triangle_expected.off"));

    // Tabs, blank lines, CR LF; the face's first number (4) is not checked.
    put("tri.mesh", dataFile("triangle.mesh"));
    EXPECT_EQ(run("tri.mesh"), 0);
    EXPECT_EQ(readFile(folder + "/tri.off"), dataFile("triangle_expected.off"));
}

TEST_F(OffconvertTest, CoordinatesPassThroughSinglePrecision)
{
    // Among them 16777217.000000000001, which rounds up to 16777218 when read
    // as a float directly, but to 16777216 through a double first.
    put("rounding.txt", dataFile("rounding.txt"));
    EXPECT_EQ(run("rounding.txt"), 0);
    EXPECT_EQ(readFile(folder + "/roundingoff"), dataFile("rounding_expected.off"));
}

TEST_F(OffconvertTest, ManyNumbersMatchFormattedInputAndOutput)
{
    // Over two blocks of input, so that numbers straddle the refills.
    std::mt19937_64 rng(99);
    const char* formats[] = {"%.9g", "%.3f", "%+e", "%.12E", "%g", "%.1f"};
    const int vertices = 90000;
    std::string input = std::to_string(vertices) + "\n1\n";
    std::string expected = "OFF\n " + std::to_string(vertices) + " 1 0\n";
    char token[64], line[256];
    for (int i = 0; i < vertices; ++i) {
        double value[3];
        for (double& v : value) {
            std::uniform_real_distribution<double> mantissa(-10, 10);
            std::snprintf(token, sizeof token, formats[rng() % 6],
                          mantissa(rng) * std::pow(10.0, static_cast<int>(rng() % 16) - 8));
            input += token;
            input += (rng() % 5 == 0) ? "\n" : " ";
            v = static_cast<double>(std::strtof(token, nullptr));
        }
        std::snprintf(line, sizeof line, "  %f  %f  %f\n", value[0], value[1], value[2]);
        expected += line;
    }
    input += "3 0 1 2";
    expected += "3 0 1 2\n";
    ASSERT_GT(input.size(), 2u << 20);
    put("big.dat", input);
    EXPECT_EQ(run("big.dat"), 0);
    EXPECT_TRUE(readFile(folder + "/bigoff") == expected);
}

TEST_F(OffconvertTest, OutputNamesDropFourCharactersAndAppendOff)
{
    const std::string tri = dataFile("triangle_line.txt");
    ASSERT_EQ(mkdir((folder + "/data").c_str(), 0755), 0);
    put("data/cube.mesh", tri);
    EXPECT_EQ(run("data/cube.mesh"), 0);
    EXPECT_TRUE(exists(folder + "/data/cube.off"));
    put("x.txt", tri);
    EXPECT_EQ(run("x.txt extra arguments"), 0);
    EXPECT_TRUE(exists(folder + "/xoff"));
    // Too short a name for four characters to be dropped: ".off" is appended.
    put("ab", tri);
    EXPECT_EQ(run("ab"), 0);
    EXPECT_TRUE(exists(folder + "/ab.off"));
    put("data/ab", tri);
    EXPECT_EQ(run("data/ab"), 0);
    EXPECT_TRUE(exists(folder + "/data/ab.off"));
    EXPECT_EQ(entries(), (std::vector<std::string>{"ab", "ab.off", "data", "x.txt", "xoff"}));
}

TEST_F(OffconvertTest, AMissingArgumentPrintsTheUsage)
{
    EXPECT_EQ(run(""), 2);
    EXPECT_EQ(printedErr, "usage : offconvert <fichier de nombres>\n");
    EXPECT_EQ(printedOut, "");
}

TEST_F(OffconvertTest, HelpPrintsTheUsageOnTheStandardOutput)
{
    for (const char* option : {"--help", "-h"}) {
        EXPECT_EQ(run(option), 0) << option;
        EXPECT_EQ(printedOut.rfind("usage : offconvert <fichier de nombres>\n", 0), 0u) << option;
        EXPECT_NE(printedOut.find("cube.mesh donne cube.off"), std::string::npos) << option;
        EXPECT_EQ(printedErr, "") << option;
    }
    // A file of that name is still converted when named as a path.
    put("-h", dataFile("triangle_line.txt"));
    EXPECT_EQ(run("./-h"), 0);
    EXPECT_EQ(readFile(folder + "/-h.off"), dataFile("triangle_expected.off"));
}

TEST_F(OffconvertTest, AFaceIndexThatIsNoVertexIsRefusedWithItsLine)
{
    // Indices run from 0 to V - 1; the line is that of the faulty number.
    put("high.txt", "3 2\n0 0 0\n1 0 0\n0 1 0\n3 0 1 2\n\n3 0\r\n 1\t3\n");
    EXPECT_EQ(run("high.txt"), 1);
    EXPECT_EQ(printedErr, "offconvert : high.txt : ligne 8 : le troisième indice de la face 1 (3) ne désigne "
                          "aucun sommet : les indices vont de 0 à 2\n");
    put("negative.txt", "3 1 0 0 0 1 0 0 0 1 0 3 -1 1 2");
    EXPECT_EQ(run("negative.txt"), 1);
    EXPECT_EQ(printedErr, "offconvert : negative.txt : ligne 1 : le premier indice de la face 0 (-1) ne désigne "
                          "aucun sommet : les indices vont de 0 à 2\n");
    put("none.txt", "0 1\n3 0 0 0");
    EXPECT_EQ(run("none.txt"), 1);
    EXPECT_EQ(printedErr, "offconvert : none.txt : ligne 2 : le premier indice de la face 0 (0) ne désigne "
                          "aucun sommet : le fichier n'a aucun sommet\n");
    // The last vertex itself is a vertex.
    put("last.txt", "3 1 0 0 0 1 0 0 0 1 0 3 2 2 2");
    EXPECT_EQ(run("last.txt"), 0);
    EXPECT_EQ(entries(), (std::vector<std::string>{"high.txt", "last.txt", "lastoff", "negative.txt", "none.txt"}));
}

TEST_F(OffconvertTest, BadInputIsReportedWithoutLeavingAnOutputFile)
{
    EXPECT_EQ(run("nothing.txt"), 1);
    EXPECT_EQ(printedErr, "offconvert : impossible d'ouvrir le fichier d'entrée nothing.txt\n");

    put("short.txt", "3 1 0 0 0 1 0 0 0 1");
    EXPECT_EQ(run("short.txt"), 1);
    EXPECT_EQ(printedErr, "offconvert : short.txt : fin du fichier avant la coordonnée z du sommet 2\n");

    put("word.txt", "3 1 0 0 0 1 0 0 0 1 0 3 0 x 2");
    EXPECT_EQ(run("word.txt"), 1);
    EXPECT_EQ(printedErr,
              "offconvert : word.txt : le deuxième indice de la face 0 n'est pas un nombre entier : « x »\n");

    put("real.txt", "3 1 0 0 0 1 0 0 0 1.5e 0 3 0 1 2");
    EXPECT_EQ(run("real.txt"), 1);
    EXPECT_EQ(printedErr, "offconvert : real.txt : la coordonnée z du sommet 2 n'est pas un nombre : « e »\n");

    put("count.txt", "three 1");
    EXPECT_EQ(run("count.txt"), 1);
    EXPECT_EQ(printedErr, "offconvert : count.txt : le nombre de sommets n'est pas un nombre entier : « three »\n");

    put("negative.txt", "-3 1");
    EXPECT_EQ(run("negative.txt"), 1);
    EXPECT_NE(printedErr.find("negative.txt"), std::string::npos);

    // A number of more than 4096 characters is refused wherever it stands.
    put("long.txt", "3 1 0 0 0 1 0 0 0." + std::string(5000, '0') + "1 0 3 0 1 2");
    EXPECT_EQ(run("long.txt"), 1);
    EXPECT_EQ(printedErr.rfind("offconvert : long.txt : la coordonnée x du sommet 2 n'est pas un nombre : « 0.000", 0), 0u);

    put("empty.txt", "");
    EXPECT_EQ(run("empty.txt"), 1);
    EXPECT_EQ(printedErr, "offconvert : empty.txt : fin du fichier avant le nombre de sommets\n");

    // What the viewer refuses is refused here too: a coordinate that is not a
    // finite number, spelled so or beyond the single-precision range.
    put("nan.txt", "3 1\n0 0 0\n1 nan 0\n0 1 0\n3 0 1 2\n");
    EXPECT_EQ(run("nan.txt"), 1);
    EXPECT_EQ(printedErr, "offconvert : nan.txt : ligne 3 : la coordonnée y du sommet 1 n'est pas un nombre fini\n");
    put("huge.txt", "3 1\n0 0 0\n1 0 0\n0 1 1e39\n3 0 1 2\n");
    EXPECT_EQ(run("huge.txt"), 1);
    EXPECT_EQ(printedErr, "offconvert : huge.txt : ligne 4 : la coordonnée z du sommet 2 n'est pas un nombre fini\n");

    EXPECT_EQ(entries(), (std::vector<std::string>{"count.txt", "empty.txt", "huge.txt", "long.txt", "nan.txt",
                                                   "negative.txt", "real.txt", "short.txt", "word.txt"}));
}

TEST_F(OffconvertTest, AFailedConversionKeepsAnEarlierOutput)
{
    put("m.txt", "3 1 0 0 0 1 0 0 0 1");
    put("moff", "earlier");
    EXPECT_EQ(run("m.txt"), 1);
    EXPECT_EQ(readFile(folder + "/moff"), "earlier");
}

// An existing output is written as the file its name stands for: links
// followed and kept, permission bits kept, anything else refused untouched.
TEST_F(OffconvertTest, AnExistingOutputIsReplacedAsTheFileItNames)
{
    const std::string tri = dataFile("triangle_line.txt"), expected = dataFile("triangle_expected.off");
    ASSERT_EQ(mkdir((folder + "/real").c_str(), 0755), 0);
    ASSERT_EQ(mkdir((folder + "/links").c_str(), 0755), 0);
    // A chain of two relative links, each read from its own folder.
    put("real/kept.off", "earlier");
    ASSERT_EQ(symlink("../real/kept.off", (folder + "/links/second").c_str()), 0);
    ASSERT_EQ(symlink("links/second", (folder + "/a.off").c_str()), 0);
    put("a.mesh", tri);
    EXPECT_EQ(run("a.mesh"), 0) << printedErr;
    EXPECT_EQ(readFile(folder + "/real/kept.off"), expected);
    struct stat info;
    ASSERT_EQ(lstat((folder + "/a.off").c_str(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode));
    ASSERT_EQ(lstat((folder + "/links/second").c_str(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode));

    // A private file stays private.
    put("p.mesh", tri);
    put("p.off", "earlier");
    ASSERT_EQ(chmod((folder + "/p.off").c_str(), 0600), 0);
    EXPECT_EQ(run("p.mesh"), 0);
    ASSERT_EQ(stat((folder + "/p.off").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    EXPECT_EQ(readFile(folder + "/p.off"), expected);

    // A pipe and a folder are no output files, nor is a link to a pipe.
    put("f.mesh", tri);
    ASSERT_EQ(mkfifo((folder + "/f.off").c_str(), 0644), 0);
    EXPECT_EQ(run("f.mesh"), 1);
    EXPECT_EQ(printedErr, "offconvert : le fichier de sortie f.off n'est pas un fichier ordinaire\n");
    ASSERT_EQ(lstat((folder + "/f.off").c_str(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
    put("lf.mesh", tri);
    ASSERT_EQ(symlink("f.off", (folder + "/lf.off").c_str()), 0);
    EXPECT_EQ(run("lf.mesh"), 1);
    put("d.mesh", tri);
    ASSERT_EQ(mkdir((folder + "/d.off").c_str(), 0755), 0);
    EXPECT_EQ(run("d.mesh"), 1);
    EXPECT_EQ(printedErr, "offconvert : le fichier de sortie d.off n'est pas un fichier ordinaire\n");
    // A link that loops is refused too.
    put("loop.mesh", tri);
    ASSERT_EQ(symlink("loop.off", (folder + "/loop.off").c_str()), 0);
    EXPECT_EQ(run("loop.mesh"), 1);
    EXPECT_EQ(printedErr, "offconvert : impossible de créer le fichier de sortie loop.off\n");

    // No temporary file was left anywhere.
    EXPECT_EQ(entries(), (std::vector<std::string>{"a.mesh", "a.off", "d.mesh", "d.off", "f.mesh", "f.off", "lf.mesh",
                                                   "lf.off", "links", "loop.mesh", "loop.off", "p.mesh", "p.off",
                                                   "real"}));
}

// A file the user may not write is refused as a copy onto it would be, even
// though its folder lets the converter put a new file in its place.
TEST_F(OffconvertTest, AFileTheUserMayNotWriteIsRefused)
{
    put("r.mesh", dataFile("triangle_line.txt"));
    put("r.off", "earlier");
    ASSERT_EQ(chmod((folder + "/r.off").c_str(), 0444), 0);
    struct stat info;
    if (geteuid() != 0) {
        EXPECT_EQ(run("r.mesh"), 1);
    } else {
        // The superuser may write it, and it stays read-only.
        EXPECT_EQ(run("r.mesh"), 0);
        ASSERT_EQ(stat((folder + "/r.off").c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 0777, 0444u);
        EXPECT_EQ(readFile(folder + "/r.off"), dataFile("triangle_expected.off"));
        // Another user meets the refusal: the file belongs to the superuser.
        put("r.off", "earlier");
        ASSERT_EQ(chmod((folder + "/r.off").c_str(), 0644), 0);
        ASSERT_EQ(chmod((folder + "/r.mesh").c_str(), 0644), 0);
        ASSERT_EQ(runAsNobody("r.mesh"), 1) << printedErr;
    }
    EXPECT_EQ(printedErr, "offconvert : le fichier de sortie r.off est protégé en écriture\n");
    EXPECT_EQ(readFile(folder + "/r.off"), "earlier");
    EXPECT_EQ(entries(), (std::vector<std::string>{"r.mesh", "r.off"}));
}

} // namespace
