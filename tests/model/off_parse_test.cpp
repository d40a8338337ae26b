// Reading OFF text: line access, the format rules, the quad layout, centre and
// radius, and faulty texts. The fast parser is compared with a literal
// line-by-line reader built on formatted input, on many random files.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <random>
#include <sstream>

#include "app/main_window.h"
#include "model/off_file.h"
#include "app/session.h"
#include "tests/support/platform_script.h"
#include "render/view_state.h"

namespace {
// Why the last text parsed was refused.
std::string lastReason;

std::string readDataFile(const std::string& name)
{
    std::ifstream in(std::string(TEST_DATA_DIR) + "/off/" + name, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

bool parse(const std::string& text)
{
    currentModel = Mesh();
    return parseModelText(text.c_str(), text.size(), currentModel, lastReason);
}

class OffParseTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetProgramState();
        scriptReset();
    }
};

// ---- line access ----

TEST_F(OffParseTest, RawLinesFollowTheirFourCodes)
{
    const std::string text = "ab\ncd";
    const char* cursor = text.c_str();
    std::string_view line;
    EXPECT_EQ(nextRawLine(cursor, line, 150), lineRead);
    EXPECT_EQ(line, "ab");
    EXPECT_EQ(cursor, text.c_str() + 3);
    // The last line without a line feed is delivered again and again.
    for (int k = 0; k < 2; ++k) {
        EXPECT_EQ(nextRawLine(cursor, line, 150), lineLastRead);
        EXPECT_EQ(line, "cd");
        EXPECT_EQ(cursor, text.c_str() + 3);
    }

    const std::string fed = "ab\n";
    cursor = fed.c_str();
    nextRawLine(cursor, line, 150);
    EXPECT_EQ(nextRawLine(cursor, line, 150), lineLastRead);
    EXPECT_TRUE(line.empty());

    const std::string longFed = std::string(151, 'x') + "\nnext\n";
    cursor = longFed.c_str();
    EXPECT_EQ(nextRawLine(cursor, line, 150), lineTooLong);
    EXPECT_TRUE(line.empty());
    EXPECT_EQ(cursor, longFed.c_str());
    // Every later read stays on the long line.
    EXPECT_EQ(nextRawLine(cursor, line, 150), lineTooLong);

    const std::string longLast = std::string(151, 'x');
    cursor = longLast.c_str();
    EXPECT_EQ(nextRawLine(cursor, line, 150), lineLastTooLong);
    EXPECT_TRUE(line.empty());

    const std::string exact = std::string(150, 'x') + "\n";
    cursor = exact.c_str();
    EXPECT_EQ(nextRawLine(cursor, line, 150), lineRead);
    EXPECT_EQ(line.size(), 150u);
}

TEST_F(OffParseTest, BlankLinesAreSpacesExceptTheLastCharacter)
{
    EXPECT_TRUE(isBlankLine(""));
    EXPECT_TRUE(isBlankLine("x"));
    EXPECT_TRUE(isBlankLine("   "));
    EXPECT_TRUE(isBlankLine("   \r"));
    EXPECT_TRUE(isBlankLine("  7"));
    EXPECT_FALSE(isBlankLine("\t "));
    EXPECT_FALSE(isBlankLine(" x "));
}

TEST_F(OffParseTest, DataLinesSkipCommentsAndBlankLines)
{
    const std::string text = "# c\n* s\n\nx\n   \r\n\t\t\n # not a comment\n# last";
    const char* cursor = text.c_str();
    std::string_view line;
    EXPECT_EQ(nextDataLine(cursor, line, 150), lineRead);
    EXPECT_EQ(line, "\t\t");
    EXPECT_EQ(nextDataLine(cursor, line, 150), lineRead);
    EXPECT_EQ(line, " # not a comment");
    // A last line without line feed comes back untested, every time.
    EXPECT_EQ(nextDataLine(cursor, line, 150), lineLastRead);
    EXPECT_EQ(line, "# last");
    EXPECT_EQ(nextDataLine(cursor, line, 150), lineLastRead);
    EXPECT_EQ(line, "# last");

    const std::string longLine = "#\n" + std::string(200, '#') + "\n";
    cursor = longLine.c_str();
    EXPECT_EQ(nextDataLine(cursor, line, 150), lineTooLong);
    EXPECT_TRUE(line.empty());
}

// ---- well-formed files ----

TEST_F(OffParseTest, OneTriangleWithOrWithoutTheEdgeCount)
{
    ASSERT_TRUE(parse(readDataFile("triangle.off")));
    EXPECT_EQ(currentModel.vertexCount, 3);
    EXPECT_EQ(currentModel.faceCount, 1);
    EXPECT_EQ(currentModel.edgeCount, 0);
    EXPECT_TRUE(currentModel.modelLoaded);
    EXPECT_EQ(currentModel.faceA[0], 0);
    EXPECT_EQ(currentModel.faceB[0], 1);
    EXPECT_EQ(currentModel.faceC[0], 2);
    EXPECT_EQ(currentModel.vertexX[1], 1.0);

    ASSERT_TRUE(parse("OFF\n3 1\n0 0 0\n1 0 0\n0 1 0\n3 0 1 2\n"));
    EXPECT_EQ(currentModel.edgeCount, 0);
    ASSERT_TRUE(parse("OFF\n3 1 17\n0 0 0\n1 0 0\n0 1 0\n3 0 1 2\n"));
    EXPECT_EQ(currentModel.edgeCount, 17);
}

TEST_F(OffParseTest, CommentsBlankLinesAndExtraNumbersAreSkipped)
{
    // Counts on the header line are ignored; words after the numbers are ignored.
    ASSERT_TRUE(parse(readDataFile("comments.off")));
    EXPECT_EQ(currentModel.vertexCount, 4);
    EXPECT_EQ(currentModel.faceCount, 2);
    EXPECT_EQ(currentModel.vertexX[2], 2.0);
    EXPECT_EQ(currentModel.vertexY[2], 2.0);
    EXPECT_EQ(currentModel.faceC[0], 2);
    EXPECT_EQ(currentModel.faceA[1], 0);
    EXPECT_EQ(currentModel.faceB[1], 2);
    EXPECT_EQ(currentModel.faceC[1], 3);
}

TEST_F(OffParseTest, CarriageReturnsReadLikeLineFeeds)
{
    ASSERT_TRUE(parse(readDataFile("crlf.off")));
    auto x = currentModel.vertexX, y = currentModel.vertexY;
    auto a = currentModel.faceA, b = currentModel.faceB, c = currentModel.faceC;
    ASSERT_TRUE(parse("OFF\n# crlf\n\n4 2 0\n0 0 0\n2 0 0\n2 2 0\n0 2 0\n3 0 1 2\n3 0 2 3\n"));
    EXPECT_EQ(currentModel.vertexX, x);
    EXPECT_EQ(currentModel.vertexY, y);
    EXPECT_EQ(currentModel.faceA, a);
    EXPECT_EQ(currentModel.faceB, b);
    EXPECT_EQ(currentModel.faceC, c);
}

TEST_F(OffParseTest, LinesOfAtMost150CharactersAreAccepted)
{
    EXPECT_TRUE(parse(readDataFile("line150.off")));
    EXPECT_TRUE(parse(readDataFile("line150_crlf.off")));
    EXPECT_FALSE(parse(readDataFile("line151.off")));
    // A long comment is just as faulty.
    EXPECT_FALSE(parse("OFF\n#" + std::string(150, 'c') + "\n3 1\n0 0 0\n1 0 0\n0 1 0\n3 0 1 2\n"));
}

TEST_F(OffParseTest, NumbersFollowFormattedInputConventions)
{
    ASSERT_TRUE(parse("OFF\n+3 +1\n+1.5 -2e1 +3E-1\n.5 5. -0\n1e-999 0 0\n+3 +0 1 2\n"));
    EXPECT_EQ(currentModel.vertexX[0], 1.5);
    EXPECT_EQ(currentModel.vertexY[0], -20.0);
    EXPECT_EQ(currentModel.vertexZ[0], 0.3);
    EXPECT_EQ(currentModel.vertexX[1], 0.5);
    EXPECT_EQ(currentModel.vertexY[1], 5.0);
    EXPECT_TRUE(std::signbit(currentModel.vertexZ[1]));
    // Below the double range: zero, as formatted input gives.
    EXPECT_EQ(currentModel.vertexX[2], 0.0);
    // A coordinate that is not a finite number (spelled so, or beyond the
    // double range) makes the file faulty.
    for (const char* vertex : {"inf 0 0", "0 -INF 0", "0 0 nan", "1e999 0 0", "0 -1e999 0"}) {
        EXPECT_FALSE(parse(std::string("OFF\n3 1\n0 0 0\n1 0 0\n") + vertex + "\n3 0 1 2\n")) << vertex;
        EXPECT_NE(lastReason.find("n'est pas un nombre fini"), std::string::npos) << lastReason;
    }
    // Numbers end where their characters stop; "1.5.5" is 1.5 then .5.
    ASSERT_TRUE(parse("OFF\n3 1\n1.5.5 7\n1 0 0\n0 1 0\n3\t0\t1\t2\n"));
    EXPECT_EQ(currentModel.vertexY[0], 0.5);
    EXPECT_EQ(currentModel.vertexZ[0], 7.0);
}

TEST_F(OffParseTest, CentreIsTheMeanAndRadiusTheLargestAxisDistance)
{
    ASSERT_TRUE(parse("OFF\n2 1\n0 0 0\n2 4 0\n3 0 1 1\n"));
    EXPECT_EQ(currentModel.modelCenter[0], 1.0);
    EXPECT_EQ(currentModel.modelCenter[1], 2.0);
    EXPECT_EQ(currentModel.modelCenter[2], 0.0);
    EXPECT_EQ(currentModel.modelRadius, 2.0);
}

// ---- quads ----

TEST_F(OffParseTest, OneQuadGivesFourTrianglesAroundItsCentre)
{
    ASSERT_TRUE(parse("OFF\n4 1\n0 0 0\n1 0 0\n1 1 0\n0 1 0\n4 0 1 2 3\n"));
    ASSERT_EQ(currentModel.vertexCount, 5);
    ASSERT_EQ(currentModel.faceCount, 4);
    EXPECT_EQ(currentModel.vertexX[4], 0.5);
    EXPECT_EQ(currentModel.vertexY[4], 0.5);
    EXPECT_EQ(currentModel.vertexZ[4], 0.0);
    const int expected[4][3] = {{0, 1, 4}, {1, 2, 4}, {2, 3, 4}, {3, 0, 4}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(currentModel.faceA[i], expected[i][0]) << i;
        EXPECT_EQ(currentModel.faceB[i], expected[i][1]) << i;
        EXPECT_EQ(currentModel.faceC[i], expected[i][2]) << i;
    }
    EXPECT_EQ(currentModel.vertexX.size(), 5u);
    EXPECT_EQ(currentModel.faceA.size(), 4u);
}

TEST_F(OffParseTest, CubeOfSixQuadsLaysOutCentresAndTrianglesInFileOrder)
{
    ASSERT_TRUE(parse(readDataFile("cube_quads.off")));
    ASSERT_EQ(currentModel.vertexCount, 14);
    ASSERT_EQ(currentModel.faceCount, 24);
    const int quads[6][4] = {{0, 3, 2, 1}, {4, 5, 6, 7}, {0, 1, 5, 4}, {1, 2, 6, 5}, {2, 3, 7, 6}, {3, 0, 4, 7}};
    for (int q = 0; q < 6; ++q) {
        int m = 8 + q;
        const int* v = quads[q];
        double cx = (currentModel.vertexX[v[0]] + currentModel.vertexX[v[1]] + currentModel.vertexX[v[2]] + currentModel.vertexX[v[3]]) / 4;
        EXPECT_EQ(currentModel.vertexX[m], cx);
        // Slot q keeps the first triangle, the other three follow after slot 5.
        EXPECT_EQ(std::vector<int>({currentModel.faceA[q], currentModel.faceB[q], currentModel.faceC[q]}), std::vector<int>({v[0], v[1], m}));
        for (int t = 0; t < 3; ++t) {
            int slot = 6 + 3 * q + t;
            EXPECT_EQ(std::vector<int>({currentModel.faceA[slot], currentModel.faceB[slot], currentModel.faceC[slot]}),
                      std::vector<int>({v[t + 1], v[(t + 2) % 4], m}))
                << "slot " << slot;
        }
    }
    // The centre counts the added vertices.
    EXPECT_EQ(currentModel.modelCenter[0], 0.5);
    EXPECT_EQ(currentModel.modelCenter[2], 0.5);
    EXPECT_EQ(currentModel.modelRadius, 0.5);
}

// ---- faulty texts ----

TEST_F(OffParseTest, FaultyTextsAreRefused)
{
    const std::string tri = "0 0 0\n1 0 0\n0 1 0\n";
    const char* faulty[] = {
        "",
        "off\n3 1\n",
        "COFF\n3 1\n",
        "OFF8 3 1\n",
        "# only comments\n",
        "OFF\n0 0\n",
        "OFF\n3\n",
        "OFF\n3 0\n",
        "OFF\n-3 1\n",
        "OFF\n99999999999 1\n",          // does not fit in an int
        "OFF\n2000000000 2000000000\n",  // far more than the text can hold
        "OFF\n3 x\n",
        "OFF\n3 +-1\n",
    };
    for (const char* text : faulty)
        EXPECT_FALSE(parse(text)) << text;

    const char* faces[] = {
        "5 0 1 2\n",          // corner count other than 3 or 4
        "2 0 1 2\n",
        "3 0 1\n",            // fewer than four numbers
        "3 0 1 x\n",
        "3 0 1 3\n",          // index past the last vertex
        "3 0 -1 2\n",         // negative index
        "3 0 1 2147483648\n", // index beyond int: not a number read
        "4 0 1 2\n",          // quad with three indices
        "4 0 1 2 3\n",        // quad naming a missing vertex
        "4 0 1 2 -1\n",
    };
    for (const char* face : faces)
        EXPECT_FALSE(parse("OFF\n3 1\n" + tri + face)) << face;

    EXPECT_FALSE(parse("OFF\n3 1\n0 0 0\n1 0\n0 1 0\n3 0 1 2\n"));   // vertex with two numbers
    // Fewer lines than announced, ended by a line feed (long lines: room enough for the counts).
    const std::string wide = "0.0 0.0 0.0\n1.0 0.0 0.0\n0.0 1.0 0.0\n";
    EXPECT_FALSE(parse("OFF\n3 2\n" + wide + "3 0 1 2\n"));
    EXPECT_FALSE(parse("OFF\n4 1\n" + wide + "3 0 1 2\n"));           // a face line read as a vertex
    std::string nul = "OFF\n3 1\n" + tri + "3 0 1 2\n";
    nul[10] = '\0';                                                    // the text ends at a NUL
    EXPECT_FALSE(parse(nul));
}

TEST_F(OffParseTest, ALastLineWithoutLineFeedIsReadAgain)
{
    // Room for both faces, but one face line: the last one is delivered twice.
    ASSERT_TRUE(parse("OFF\n3 2\n0.000000 0.000000 0.000000\n1 0 0\n0 1 0\n3 0 1 2"));
    EXPECT_EQ(currentModel.faceCount, 2);
    EXPECT_EQ(std::vector<int>({currentModel.faceA[1], currentModel.faceB[1], currentModel.faceC[1]}), std::vector<int>({0, 1, 2}));
}

// ---- the literal reader as oracle ----

struct OracleModel {
    bool faulty = false;
    int vertices = 0, faces = 0, edges = 0;
    std::vector<double> x, y, z;
    std::vector<int> a, b, c;
    double center[3] = {0, 0, 0};
    double radius = 0;
};

// Copies the next line as the literal reader does (codes as nextRawLine).
int oracleRawLine(const char*& cursor, char* line, int maxLength)
{
    const char* feed = std::strchr(cursor, '\n');
    size_t length = feed ? static_cast<size_t>(feed - cursor) : std::strlen(cursor);
    line[0] = '\0';
    if (length > static_cast<size_t>(maxLength))
        return feed ? 2 : 3;
    std::memcpy(line, cursor, length);
    line[length] = '\0';
    if (!feed)
        return 1;
    cursor = feed + 1;
    return 0;
}

void oracleDataLine(const char*& cursor, char* line, int maxLength)
{
    for (;;) {
        if (oracleRawLine(cursor, line, maxLength) != 0)
            return;
        size_t n = std::strlen(line);
        if (line[0] == '*' || line[0] == '#')
            continue;
        bool blank = true;
        for (size_t i = 0; i + 1 < n; ++i)
            blank = blank && line[i] == ' ';
        if (!blank)
            return;
    }
}

OracleModel oracleParse(const std::string& text)
{
    OracleModel m;
    char line[256];
    const char* cursor = text.c_str();
    oracleDataLine(cursor, line, 150);
    char word[256];
    if (std::sscanf(line, "%255s", word) != 1 || std::strcmp(word, "OFF") != 0)
        m.faulty = true;
    oracleDataLine(cursor, line, 150);
    if (std::sscanf(line, "%d %d %d", &m.vertices, &m.faces, &m.edges) < 2 || m.vertices < 1 || m.faces < 1) {
        m.faulty = true;
        return m;
    }
    int fileVertices = m.vertices, fileFaces = m.faces;
    m.x.assign(fileVertices, 0), m.y.assign(fileVertices, 0), m.z.assign(fileVertices, 0);
    m.a.assign(fileFaces, 0), m.b.assign(fileFaces, 0), m.c.assign(fileFaces, 0);
    for (int i = 0; i < fileVertices; ++i) {
        oracleDataLine(cursor, line, 150);
        if (std::sscanf(line, "%lf %lf %lf", &m.x[i], &m.y[i], &m.z[i]) < 3)
            m.faulty = true;
    }
    for (int i = 0; i < fileFaces; ++i) {
        oracleDataLine(cursor, line, 150);
        int n = 0, d = 0;
        int read = std::sscanf(line, "%d %d %d %d %d", &n, &m.a[i], &m.b[i], &m.c[i], &d);
        if (read < 4 || n < 3 || n > 4)
            m.faulty = true;
        int a = m.a[i], b = m.b[i], c = m.c[i];
        auto bad = [&](int v) { return v < 0 || v >= fileVertices; };
        if (bad(a) || bad(b) || bad(c) || (n == 4 && (read < 5 || bad(d))))
            m.faulty = true;
        if (m.faulty)
            return m;
        if (n == 4) {
            // Grown at the moment the quad is met, exactly as long as needed.
            growDoubleArray(m.x, m.vertices, m.vertices + 1);
            growDoubleArray(m.y, m.vertices, m.vertices + 1);
            growDoubleArray(m.z, m.vertices, m.vertices + 1);
            int v = ++m.vertices - 1;
            growIntArray(m.a, m.faces, m.faces + 3);
            growIntArray(m.b, m.faces, m.faces + 3);
            growIntArray(m.c, m.faces, m.faces + 3);
            m.faces += 3;
            int N = m.faces;
            m.x[v] = (m.x[a] + m.x[b] + m.x[c] + m.x[d]) / 4;
            m.y[v] = (m.y[a] + m.y[b] + m.y[c] + m.y[d]) / 4;
            m.z[v] = (m.z[a] + m.z[b] + m.z[c] + m.z[d]) / 4;
            m.a[N - 3] = b, m.b[N - 3] = c, m.c[N - 3] = v;
            m.a[N - 2] = c, m.b[N - 2] = d, m.c[N - 2] = v;
            m.a[N - 1] = d, m.b[N - 1] = a, m.c[N - 1] = v;
            m.c[i] = v;
        }
    }
    double sum[3] = {0, 0, 0};
    for (int i = 0; i < m.vertices; ++i)
        sum[0] += m.x[i], sum[1] += m.y[i], sum[2] += m.z[i];
    for (int k = 0; k < 3; ++k)
        m.center[k] = sum[k] / m.vertices;
    for (int i = 0; i < m.vertices; ++i) {
        double d[3] = {std::fabs(m.x[i] - m.center[0]), std::fabs(m.y[i] - m.center[1]),
                       std::fabs(m.z[i] - m.center[2])};
        for (double e : d)
            if (e > m.radius)
                m.radius = e;
    }
    return m;
}

// A random OFF text: numbers in many notations, comments, blank lines, CR LF,
// extra numbers, triangles and quads mixed, sometimes no final line feed.
std::string randomOffText(std::mt19937& rng)
{
    auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    std::uniform_real_distribution<double> coordinate(-1000.0, 1000.0);
    std::ostringstream out;
    auto end = [&]() { out << (pick(4) == 0 ? "\r\n" : "\n"); };
    auto filler = [&]() {
        switch (pick(6)) {
        case 0: out << "# comment 1 2 3"; end(); break;
        case 1: out << "*"; end(); break;
        case 2: out << "   "; end(); break;
        case 3: out << "\n"; break;
        default: break;
        }
    };
    auto gap = [&]() { out << (pick(3) == 0 ? "\t" : pick(2) ? " " : "   "); };
    auto real = [&]() {
        double v = coordinate(rng);
        char s[64];
        const char* formats[] = {"%g", "%.17g", "%+f", "%e", "%E", "%.3f", "%+.9e"};
        if (pick(8) == 0)
            std::snprintf(s, sizeof s, "%d", static_cast<int>(v));
        else
            std::snprintf(s, sizeof s, formats[pick(7)], v);
        out << s;
    };
    int vertices = 3 + pick(20), faces = 1 + pick(20);
    filler();
    out << (pick(2) ? "OFF" : "OFF junk 1 2");
    end();
    filler();
    out << (pick(3) == 0 ? "+" : "") << vertices;
    gap();
    out << faces;
    if (pick(2)) {
        gap();
        out << pick(100);
    }
    end();
    for (int i = 0; i < vertices; ++i) {
        filler();
        if (pick(5) == 0)
            out << " ";
        real(), gap(), real(), gap(), real();
        if (pick(4) == 0)
            out << " 7 extra";
        end();
    }
    for (int i = 0; i < faces; ++i) {
        filler();
        bool quad = pick(3) == 0;
        out << (quad ? 4 : 3);
        for (int k = 0; k < (quad ? 4 : 3); ++k) {
            gap();
            out << pick(vertices);
        }
        if (!quad && pick(2))
            out << " " << pick(1000);
        if (i + 1 < faces || pick(4))
            end();
    }
    return out.str();
}

TEST_F(OffParseTest, MatchesTheLiteralReaderOnRandomFiles)
{
    std::mt19937 rng(12345);
    for (int round = 0; round < 2000; ++round) {
        std::string text = randomOffText(rng);
        OracleModel m = oracleParse(text);
        bool sound = parse(text);
        // Every generated file is sound.
        ASSERT_FALSE(m.faulty) << text;
        ASSERT_TRUE(sound) << text;
        ASSERT_EQ(currentModel.vertexCount, m.vertices) << text;
        ASSERT_EQ(currentModel.faceCount, m.faces) << text;
        ASSERT_EQ(currentModel.edgeCount, m.edges) << text;
        ASSERT_EQ(currentModel.vertexX, m.x) << text;
        ASSERT_EQ(currentModel.vertexY, m.y) << text;
        ASSERT_EQ(currentModel.vertexZ, m.z) << text;
        ASSERT_EQ(currentModel.faceA, m.a) << text;
        ASSERT_EQ(currentModel.faceB, m.b) << text;
        ASSERT_EQ(currentModel.faceC, m.c) << text;
        for (int k = 0; k < 3; ++k)
            ASSERT_EQ(currentModel.modelCenter[k], m.center[k]) << text;
        ASSERT_EQ(currentModel.modelRadius, m.radius) << text;
    }
}

// ---- files read through the sliding window ----

// Parses the text written to a file, claiming `claimed` bytes (its size by default).
bool parseThroughFile(const std::string& text, long long claimed = -1)
{
    std::string path = ::testing::TempDir() + "off_window_test.off";
    std::ofstream(path, std::ios::binary) << text;
    int fd = open(path.c_str(), O_RDONLY);
    currentModel = Mesh();
    bool sound = parseModelFile(fd, claimed < 0 ? text.size() : static_cast<size_t>(claimed), currentModel, lastReason);
    close(fd);
    unlink(path.c_str());
    return sound;
}

// A text of about `bytes` bytes whose comment lines of every length up to 150
// fall across the window's edges.
std::string largeText(size_t bytes)
{
    std::mt19937 rng(5);
    std::string body;
    int vertices = 0;
    while (body.size() < bytes) {
        if (rng() % 3 == 0)
            body += "#" + std::string(rng() % 149, 'c') + (rng() % 2 ? "\r\n" : "\n");
        body += std::to_string(rng() % 1000) + "." + std::to_string(rng() % 1000) + " " +
                std::to_string(vertices) + " -" + std::to_string(rng() % 7) + "e-1\n";
        ++vertices;
    }
    std::string text = "OFF\n" + std::to_string(vertices) + " 2\n" + body;
    text += "3 0 1 2\n4 " + std::to_string(vertices - 1) + " 0 1 2\n";
    return text;
}

TEST_F(OffParseTest, FilesReadThroughTheWindowGiveWhatMemoryGives)
{
    const std::string text = largeText(900000);
    ASSERT_TRUE(parse(text));
    auto x = currentModel.vertexX, y = currentModel.vertexY, z = currentModel.vertexZ;
    auto a = currentModel.faceA, b = currentModel.faceB, c = currentModel.faceC;
    int vertices = currentModel.vertexCount;
    ASSERT_TRUE(parseThroughFile(text));
    EXPECT_EQ(currentModel.vertexCount, vertices);
    EXPECT_TRUE(currentModel.vertexX == x && currentModel.vertexY == y && currentModel.vertexZ == z);
    EXPECT_TRUE(currentModel.faceA == a && currentModel.faceB == b && currentModel.faceC == c);

    // A long line or a NUL anywhere makes both faulty, wherever the window stands.
    for (size_t at : {size_t(262144 - 75), size_t(262144 - 151), size_t(524288 + 3), size_t(700001)}) {
        size_t lineStart = text.rfind('\n', at) + 1;
        std::string longLine = text;
        longLine.insert(lineStart, "#" + std::string(150, 'l') + "\n");
        EXPECT_FALSE(parse(longLine)) << at;
        EXPECT_FALSE(parseThroughFile(longLine)) << at;
        std::string nul = text;
        nul[at] = '\0';
        EXPECT_FALSE(parse(nul)) << at;
        EXPECT_FALSE(parseThroughFile(nul)) << at;
    }
    // A file shorter than announced when opened (truncated meanwhile) is faulty.
    EXPECT_FALSE(parseThroughFile(text, static_cast<long long>(text.size()) + 10));
}

} // namespace
