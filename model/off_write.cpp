// Saving the current model as a new triangle-only OFF file next to the one
// opened, named with "_n.off". The file is written under a temporary name in
// the same folder and renamed into place, so a failed save leaves no
// truncated file behind.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <vector>

#include "model/off_file.h"
#include "base/file_system.h"
#include "base/output_target.h"

namespace {

// Output is gathered in a block of this size before each write.
constexpr size_t writeBlockSize = 1 << 20;
// Room kept free for one line: "%f" of the largest double has 317 characters.
constexpr size_t longestLine = 3 * 330;

struct OffWriter {
    int fd;
    std::vector<char> buffer;
    size_t used = 0;
    bool failed = false;

    void flush()
    {
        size_t done = 0;
        while (!failed && done < used) {
            ssize_t n = write(fd, buffer.data() + done, used - done);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                failed = true;
            else
                done += static_cast<size_t>(n);
        }
        used = 0;
    }
    void makeRoom()
    {
        if (buffer.size() - used < longestLine)
            flush();
    }
    void text(const char* s)
    {
        while (*s)
            buffer[used++] = *s++;
    }
    void integer(int value) { used = static_cast<size_t>(std::to_chars(&buffer[used], &buffer[0] + buffer.size(), value).ptr - &buffer[0]); }
    // "%f": fixed notation, six digits after the decimal point.
    void real(double value)
    {
        used = static_cast<size_t>(
            std::to_chars(&buffer[used], &buffer[0] + buffer.size(), value, std::chars_format::fixed, 6).ptr -
            &buffer[0]);
    }
    // The shortest text that reads back as the same double (exponent notation for large values).
    void shortestReal(double value)
    {
        used = static_cast<size_t>(std::to_chars(&buffer[used], &buffer[0] + buffer.size(), value).ptr - &buffer[0]);
    }
};

// The reader refuses lines longer than this.
constexpr size_t longestReadableLine = 150;

// Writes vertex i's three coordinates, each after two spaces, in the given notation.
void vertexLine(OffWriter& out, const Mesh& mesh, int i, void (OffWriter::*number)(double))
{
    out.text("  ");
    (out.*number)(mesh.vertexX[i]);
    out.text("  ");
    (out.*number)(mesh.vertexY[i]);
    out.text("  ");
    (out.*number)(mesh.vertexZ[i]);
}

// Writes the header, counts, vertex and face lines of the mesh to fd.
bool writeModel(const Mesh& mesh, int fd)
{
    OffWriter out{fd, std::vector<char>(writeBlockSize)};
    out.text("OFF\n ");
    out.integer(mesh.vertexCount);
    out.text("  ");
    out.integer(mesh.faceCount);
    out.text("  0\n");
    for (int i = 0; i < mesh.vertexCount; ++i) {
        out.makeRoom();
        size_t lineStart = out.used;
        vertexLine(out, mesh, i, &OffWriter::real);
        if (out.used - lineStart > longestReadableLine) {
            // Six decimals of a coordinate of 1e30 or more make a line the
            // reader would refuse: such a vertex is written in exponent
            // notation instead, so the saved model always opens again.
            out.used = lineStart;
            vertexLine(out, mesh, i, &OffWriter::shortestReal);
        }
        out.text("\n");
    }
    for (int i = 0; i < mesh.faceCount; ++i) {
        out.makeRoom();
        out.text("  3  ");
        out.integer(mesh.faceA[i]);
        out.text("  ");
        out.integer(mesh.faceB[i]);
        out.text("  ");
        out.integer(mesh.faceC[i]);
        out.text("\n");
    }
    out.flush();
    return !out.failed;
}

} // namespace

// Writes the model to a fresh temporary file next to the file path names
// (links followed) and renames it onto that file, whose mode it takes.
bool writeModelFile(const Mesh& mesh, const std::string& requested)
{
    OutputTarget target;
    if (resolveOutputTarget(requested, target) != outputAllowed)
        return false;
    const std::string& path = target.path;
    std::string temporary;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temporary = path + ".tmp" + std::to_string(getpid()) + "_" + std::to_string(attempt);
        fd = createFreshFile(temporary);
        if (fd < 0 && errno != EEXIST)
            return false;
    }
    if (fd < 0)
        return false;
    bool written = writeModel(mesh, fd);
    written = keepTargetMode(fd, target) && written;
    written = flushFileToDisk(fd) == 0 && written;
    written = close(fd) == 0 && written;
    if (written && replaceFileByRename(temporary, path))
        return true;
    removeFile(temporary);
    return false;
}

// The name the model is saved under: modelPath without its last four
// characters (the ".off"), followed by "_n.off". Characters are only dropped
// from the file name itself, never from the folder part.
std::string savedModelPath(const std::string& path)
{
    size_t slash = path.find_last_of('/');
    size_t nameLength = slash == std::string::npos ? path.size() : path.size() - slash - 1;
    std::string base = nameLength >= 4 ? path.substr(0, path.size() - 4) : path;
    return base + "_n.off";
}
