// The headless command line through the real program, run with no display
// and with no usable window-system plugin: its files against the menu path's
// and the render tests' offscreen frame, and every way it fails.
#include <GL/gl.h>
#include <gtest/gtest.h>
#include <png.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "app/menu_commands.h"
#include "app/model_commands.h"
#include "app/session.h"
#include "model/off_file.h"
#include "model/topology.h"
#include "param/parameterize.h"
#include "tests/support/platform_script.h"
#include "render/frame.h"
#include "render/gl_setup.h"
#include "render/textures.h"
#include "render/view_state.h"
#include "texture/texture.h"
#include "tests/support/egl_context.h"

namespace fs = std::filesystem;

namespace {

std::string readFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string model(const char* name) { return std::string(SOURCE_DIR) + "/data/" + name; }

class CommandLineTest : public ::testing::Test {
protected:
    fs::path dir;

    void SetUp() override
    {
        resetProgramState();
        scriptReset();
        std::string pattern = (fs::temp_directory_path() / "vormelin_cli_XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir = pattern;
    }
    void TearDown() override { fs::remove_all(dir); }

    struct Run {
        int status;
        std::string out, err;
    };

    // The program with the arguments, in the test's folder, with no display
    // and a window-system plugin that does not exist: a window would abort it.
    Run vormelin(const std::string& arguments) const
    {
        const std::string command = "cd '" + dir.string() +
                                    "' && env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=absent '" VORMELIN_PATH
                                    "' " +
                                    arguments + " >out.txt 2>err.txt";
        const int raw = std::system(command.c_str());
        Run run{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, readFile(dir / "out.txt"), readFile(dir / "err.txt")};
        fs::remove(dir / "out.txt");
        fs::remove(dir / "err.txt");
        return run;
    }

    // The files the runs left, temporary ones included.
    std::vector<std::string> leftFiles() const
    {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
};

TEST_F(CommandLineTest, SubdivisionSaveAndStatisticsAreTheMenuCommands)
{
    fs::copy_file(model("calotte.off"), dir / "m.off");
    const Run run = vormelin("--parameterize --subdivide 2 --save cli.off --stats m.off");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");

    // The menu path in this process: open, parameterize, two Loop steps, "Sauver le modèle".
    loadModelFile((dir / "m.off").string());
    parameterizeModel();
    subdivideLoop();
    subdivideLoop();
    saveModel();
    ASSERT_TRUE(currentModel.uvComputed);
    EXPECT_EQ(readFile(dir / "cli.off"), readFile(dir / "m_n.off"));
    EXPECT_EQ(run.out, statisticsText() + "\n");
}

TEST_F(CommandLineTest, UvExportReadsBackToTheStoredCoordinates)
{
    const Run run = vormelin("--save-uv uv.obj " + model("calotte.off"));
    ASSERT_EQ(run.status, 0) << run.err;
    std::string reason;
    ASSERT_EQ(readModelFile(model("calotte.off"), currentModel, reason), outcomeOk);
    ASSERT_EQ(buildTopology(currentModel), outcomeOk);
    ASSERT_EQ(parameterize(currentModel), outcomeOk);

    std::istringstream obj(readFile(dir / "uv.obj"));
    std::string line;
    int v = 0, vt = 0, f = 0;
    while (std::getline(obj, line)) {
        std::istringstream in(line);
        std::string tag;
        in >> tag;
        if (tag == "v") {
            double x, y, z;
            in >> x >> y >> z;
            ASSERT_LT(v, currentModel.vertexCount);
            EXPECT_TRUE(x == currentModel.vertexX[v] && y == currentModel.vertexY[v] && z == currentModel.vertexZ[v]) << line;
            ++v;
        } else if (tag == "vt") {
            double s, t;
            in >> s >> t;
            ASSERT_LT(vt, currentModel.vertexCount);
            EXPECT_EQ(s, (1.0 + currentModel.vertexU[vt]) / 2.0) << line;
            EXPECT_EQ(t, 1.0 - (1.0 + currentModel.vertexV[vt]) / 2.0) << line;
            ++vt;
        } else if (tag == "f") {
            ASSERT_LT(f, currentModel.faceCount);
            const std::string a = std::to_string(currentModel.faceA[f] + 1), b = std::to_string(currentModel.faceB[f] + 1),
                              c = std::to_string(currentModel.faceC[f] + 1);
            EXPECT_EQ(line, "f " + a + "/" + a + " " + b + "/" + b + " " + c + "/" + c);
            ++f;
        }
    }
    EXPECT_EQ(v, currentModel.vertexCount);
    EXPECT_EQ(vt, currentModel.vertexCount);
    EXPECT_EQ(f, currentModel.faceCount);
}

// The lines of a saved model: the vertex lines in order, the face lines sorted.
std::pair<std::vector<std::string>, std::vector<std::string>> offLines(const std::string& text)
{
    std::istringstream in(text);
    std::string header, counts, line;
    std::getline(in, header);
    std::getline(in, counts);
    int vertices = 0;
    std::istringstream(counts) >> vertices;
    std::vector<std::string> v, f;
    while (std::getline(in, line))
        (static_cast<int>(v.size()) < vertices ? v : f).push_back(line);
    std::sort(f.begin(), f.end());
    return {v, f};
}

TEST_F(CommandLineTest, FaceCutThenUndoGivesTheModelBack)
{
    const std::string tore = model("tore.off");
    ASSERT_EQ(vormelin("--save plain.off " + tore).status, 0);
    const Run cut = vormelin("--cut-face 7 --save cut.off --stats " + tore);
    ASSERT_EQ(cut.status, 0) << cut.err;
    EXPECT_NE(cut.out.find("2303 faces"), std::string::npos) << cut.out;
    EXPECT_NE(readFile(dir / "cut.off"), readFile(dir / "plain.off"));
    const Run undone = vormelin("--cut-face 7 --undo --save undone.off " + tore);
    ASSERT_EQ(undone.status, 0) << undone.err;
    // The removed face comes back as the last one; the mesh is the same.
    EXPECT_EQ(offLines(readFile(dir / "undone.off")), offLines(readFile(dir / "plain.off")));
}

// The PNG's pixels, RGB, first row at the top.
std::vector<unsigned char> readPng(const fs::path& path, int width, int height)
{
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str()) || image.width != static_cast<unsigned>(width) ||
        image.height != static_cast<unsigned>(height))
        return {};
    image.format = PNG_FORMAT_RGB;
    std::vector<unsigned char> pixels(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr))
        return {};
    return pixels;
}

// What the window's GL view of that size shows once the view is set: its
// context's state and start-up state with the texture image loaded, its first
// frame (the start view), then frames of the view; RGB, first row at the top.
std::vector<unsigned char> windowFrame(int width, int height, void (*setView)())
{
    static bool started = false;
    if (!makeOffscreenContext(width, height))
        return {};
    if (!started) {
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        setBasicGlState();
        uniformColor = 0xCC6633u;
        initGLForSize(width, height);
        uploadImageTexture();
        started = true;
    }
    resetView();
    interaction.picked = renderFrame(currentModel, interaction);
    setView();
    interaction.picked = renderFrame(currentModel, interaction);
    interaction.picked = renderFrame(currentModel, interaction);
    std::vector<unsigned char> frame(width * height * 3), flipped(frame.size());
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, frame.data());
    for (int y = 0; y < height; ++y)
        std::memcpy(&flipped[y * width * 3], &frame[(height - 1 - y) * width * 3], width * 3);
    return flipped;
}

TEST_F(CommandLineTest, SnapshotIsTheWindowsFrame)
{
    const int width = 160, height = 120;
    const std::string options = " --size 160x120 --color 3366CC --texture " + model("texture.jpg") + " ";
    const Run faces = vormelin("--snapshot faces.png --show faces,edges,axes --view-angle-x 30 "
                               "--view-angle-y -20 --pan-x 0.1" + options + model("calotte.off"));
    ASSERT_EQ(faces.status, 0) << faces.err;
    // A flat display drawn first finds the state the window's start frame leaves.
    const Run flat = vormelin("--snapshot flat.png --show texture" + options + model("calotte.off"));
    ASSERT_EQ(flat.status, 0) << flat.err;

    std::string reason;
    ASSERT_EQ(readModelFile(model("calotte.off"), currentModel, reason), outcomeOk);
    ASSERT_EQ(buildTopology(currentModel), outcomeOk);
    ASSERT_EQ(decodeJpegTexture(model("texture.jpg"), textureImages.textureImage), outcomeOk);
    textureImages.textureLoaded = true;
    const std::vector<unsigned char> facesPng = readPng(dir / "faces.png", width, height);
    const std::vector<unsigned char> facesFrame = windowFrame(width, height, [] {
        currentView.showEdges = currentView.showAxes = true;
        currentView.viewAngleX = 30;
        currentView.viewAngleY = -20;
        currentView.panX = 0.1;
    });
    ASSERT_FALSE(facesPng.empty());
    EXPECT_TRUE(facesPng == facesFrame);
    // Not an empty view: most of it shows the model in the uniform colour.
    int lit = 0;
    for (size_t i = 0; i < facesPng.size(); i += 3)
        lit += facesPng[i + 2] > facesPng[i] + 40;
    EXPECT_GT(lit, width * height / 20);

    const std::vector<unsigned char> flatPng = readPng(dir / "flat.png", width, height);
    ASSERT_FALSE(flatPng.empty());
    EXPECT_TRUE(flatPng == windowFrame(width, height, [] { currentView.showTexture = true; }));

    // The same frame as JPEG, by the file's extension.
    const Run jpeg = vormelin("--snapshot faces.JPG --show faces,edges,axes --view-angle-x 30 "
                              "--view-angle-y -20 --pan-x 0.1" + options + model("calotte.off"));
    ASSERT_EQ(jpeg.status, 0) << jpeg.err;
    const std::string bytes = readFile(dir / "faces.JPG");
    ASSERT_GT(bytes.size(), 4u);
    EXPECT_EQ(bytes.substr(0, 3), "\xFF\xD8\xFF");
}

// PLY, STL and OBJ open as their OFF twin does (STL's welded numbering is
// the twin's own here): the same statistics, the same refined model saved,
// the same (u,v); a model saved as OFF opens again identically, and --save
// writes the format its extension names.
TEST_F(CommandLineTest, OtherFormatsGiveTheModelOfTheirOffTwin)
{
    const std::string formats = std::string(TEST_DATA_DIR) + "/formats/";
    const struct {
        const char* file;
        const char* twin;
    } cases[] = {{"pyramid_ascii.ply", "pyramid.off"}, {"pyramid_le.ply", "pyramid.off"},
                 {"pyramid_be.ply", "pyramid.off"},    {"pyramid.obj", "pyramid.off"},
                 {"pyramid_ascii.stl", "pyramid_tri.off"}, {"pyramid_binary.stl", "pyramid_tri.off"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const Run twin = vormelin("--stats --subdivide 1 --save twin.off --cut-face 0 --save-uv twin.obj " + formats + c.twin);
        ASSERT_EQ(twin.status, 0) << twin.err;
        const Run other = vormelin("--stats --subdivide 1 --save other.off --cut-face 0 --save-uv other.obj " + formats + c.file);
        ASSERT_EQ(other.status, 0) << other.err;
        EXPECT_EQ(other.out, twin.out);
        EXPECT_EQ(readFile(dir / "other.off"), readFile(dir / "twin.off"));
        EXPECT_EQ(readFile(dir / "other.obj"), readFile(dir / "twin.obj"));
    }
    // Converted, then opened again: the same model as the source.
    const Run ply = vormelin("--save converted.off --save copy.ply --save copy.stl --save copy.obj " + formats +
                             "pyramid_le.ply");
    ASSERT_EQ(ply.status, 0) << ply.err;
    EXPECT_EQ(readFile(dir / "copy.ply").substr(0, 4), "ply\n");
    const Run source = vormelin("--stats --save a.off " + formats + "pyramid_le.ply");
    for (const char* copy : {"converted.off", "copy.ply", "copy.obj"}) {
        const Run again = vormelin(std::string("--stats --save b.off ") + (dir / copy).string());
        ASSERT_EQ(again.status, 0) << copy << again.err;
        EXPECT_EQ(again.out, source.out) << copy;
        EXPECT_EQ(readFile(dir / "b.off"), readFile(dir / "a.off")) << copy;
    }
    const Run stl = vormelin("--stats " + (dir / "copy.stl").string());
    EXPECT_EQ(stl.status, 0) << stl.err;
    // A faulty file in another format ends with status 1 and where it is faulty.
    std::ofstream(dir / "bad.ply") << "ply\nformat ascii 1.0\nelement vertex 3\nproperty float x\nproperty float y\n"
                                      "property float z\nelement face 1\nproperty list uchar int vertex_indices\n"
                                      "end_header\n0 0 0\n1 0 0\n0 1 0\n3 0 1 7\n";
    const Run bad = vormelin("--stats " + (dir / "bad.ply").string());
    EXPECT_EQ(bad.status, 1);
    EXPECT_NE(bad.err.find("Fichier modèle erroné\nligne "), std::string::npos) << bad.err;
}

TEST_F(CommandLineTest, FailuresTellWhyWithTheirStatusAndLeaveNoFile)
{
    std::ofstream(dir / "old.obj") << "old";
    ASSERT_EQ(mkfifo((dir / "pipe.off").c_str(), 0644), 0);
    const std::string calotte = model("calotte.off"), cube = model("cube.off");
    const struct {
        std::string arguments;
        int status;
        const char* message;
    } cases[] = {
        {"--save out.off " + std::string(TEST_DATA_DIR) + "/off/line151.off", 1, "Fichier modèle erroné"},
        {"--save-uv old.obj " + cube, 1, "Le modèle n'a pas d'ouverture."},
        {"--save missing/out.off " + calotte, 1, "Le fichier missing/out.off n'a pas pu être écrit"},
        {"--save pipe.off " + calotte, 1, "Le fichier pipe.off n'a pas pu être écrit"},
        {"--save-uv missing/out.obj " + calotte, 1, "Le fichier missing/out.obj n'a pas pu être écrit."},
        {"--snapshot missing/out.png --size 8x8 " + calotte, 1, "Le fichier missing/out.png n'a pas pu être écrit."},
        {"--cut-face 99999 --save out.off " + calotte, 1, "Rien n'a été découpé"},
        {"--cut-vertex 0 --save out.off --undo " + calotte, 1, "Aucune découpe à annuler"},
        {"--snapshot out.png --show uv " + cube, 1, "Le modèle n'a pas d'ouverture."},
        {"--bogus " + calotte, 2, "option inconnue : --bogus"},
        {"--subdivide -1 " + calotte, 2, "valeur incorrecte pour --subdivide"},
        {"--size 0x10 " + calotte, 2, "valeur incorrecte pour --size"},
        {"--show faces,hair " + calotte, 2, "valeur incorrecte pour --show"},
        {calotte + " --save", 2, "l'option --save attend une valeur"},
        {"--stats", 2, "aucun modèle indiqué"},
        {"--show faces,edges --stats " + calotte, 2, "l'option --show règle la vue des images : elle va avec --snapshot"},
        {"--snapshot x.bmp " + calotte, 2, "l'image de --snapshot s'écrit en .png, .jpg ou .jpeg : x.bmp"},
        {"--snapshot x.png --camera-distance 100 " + calotte, 2, "valeur incorrecte pour --camera-distance : 100"},
        {"--snapshot x.png --model-scale 0.01 " + calotte, 2, "valeur incorrecte pour --model-scale : 0.01"},
        {"--textured --texture " + std::string(TEST_DATA_DIR) + "/texture/truncated_256.jpg --snapshot x.png " + calotte,
         1, "truncated_256.jpg : L'image de texture est illisible"},
        {"--stats nowhere.off", 2, "Fichier introuvable : nowhere.off"},
    };
    for (const auto& c : cases) {
        const Run run = vormelin(c.arguments);
        EXPECT_EQ(run.status, c.status) << c.arguments << "\n" << run.err;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << c.arguments << "\n" << run.err;
        EXPECT_EQ(run.out, "") << c.arguments;
        if (c.status == 2 && run.err.find("introuvable") == std::string::npos) {
            // The reason alone on its line, then where the help is: nothing pushes it off screen.
            EXPECT_EQ(run.err, "vormelin : " + run.err.substr(11, run.err.find('\n') - 11) +
                                   "\nvormelin --help pour l'aide.\n")
                << c.arguments;
        }
    }
    // Written only before the failure: the save that precedes a refused undo.
    EXPECT_EQ(leftFiles(), (std::vector<std::string>{"old.obj", "out.off", "pipe.off"}));
    EXPECT_TRUE(fs::is_fifo(dir / "pipe.off"));
    EXPECT_EQ(readFile(dir / "old.obj"), "old");

    const Run version = vormelin("--version");
    EXPECT_EQ(version.status, 0);
    // The title's version with the release's patch level.
    EXPECT_TRUE(std::regex_match(version.out, std::regex("Vormelin 0\\.35\\.[0-9]+\n"))) << version.out;
    const Run help = vormelin("--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.rfind("Usage : vormelin", 0), 0u);
    // In the build tree the help page lies next to the program.
    const std::string page = (fs::path(VORMELIN_PATH).parent_path() / "aide.html").string();
    EXPECT_NE(help.out.find("\nPage d'aide complète : " + page + "\n"), std::string::npos) << help.out;
}

} // namespace
