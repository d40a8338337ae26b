// Opening a model: the file dialog, reading the whole file into one block,
// parsing it, then the view reset and the topology.
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "app/messages.h"
#include "model/off_file.h"
#include "model/store.h"
#include "model/topology.h"
#include "platform/platform.h"
#include "render/view_state.h"

namespace {

const char* const faultyModelText = "Fichier modèle erroné";

// The whole content of a file in one block of its size plus one byte, the last one a NUL.
struct FileBlock {
    char* data = nullptr;
    size_t size = 0;
    size_t mapped = 0;
};

void releaseBlock(FileBlock& block)
{
    if (block.data)
        munmap(block.data, block.mapped);
    block = FileBlock();
}

// Reads the regular file at path into block; false (nothing kept) when it
// cannot be opened or read completely.
bool readWholeFile(const std::string& path, FileBlock& block)
{
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat info;
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size < 0) {
        close(fd);
        return false;
    }
    size_t size = static_cast<size_t>(info.st_size);
    // An anonymous mapping filled in one go is far cheaper than faulting in
    // the pages of a heap block one by one; it comes zeroed, so the NUL is there.
    int flags = MAP_PRIVATE | MAP_ANONYMOUS;
#ifdef MAP_POPULATE
    flags |= MAP_POPULATE;
#endif
    void* data = mmap(nullptr, size + 1, PROT_READ | PROT_WRITE, flags, -1, 0);
    if (data == MAP_FAILED) {
        close(fd);
        return false;
    }
    block.data = static_cast<char*>(data);
    block.size = size;
    block.mapped = size + 1;
    size_t done = 0;
    while (done < size) {
        ssize_t got = read(fd, block.data + done, size - done);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        done += static_cast<size_t>(got);
    }
    close(fd);
    if (done != size) {
        releaseBlock(block);
        return false;
    }
    return true;
}

} // namespace

void loadModelFile(const std::string& path)
{
    if (modelLoaded)
        releaseModel();
    FileBlock block;
    if (!readWholeFile(path, block))
        fatalError(faultyModelText);
    modelPath = path;
    platformSetWindowTitle(modelWindowTitle(path));
    bool sound = parseModelText(block.data, block.size);
    releaseBlock(block);
    if (!sound)
        fatalError(faultyModelText);
    resetView();
    topologyBuilt = false;
    uvComputed = false;
    closedWarned = false;
    buildTopology();
}

void openModel()
{
    std::string path;
    const std::vector<PlatformFileFilter> filters = {{"Fichier off (*.off)", "*.off"},
                                                     {"Tout fichier (*.*)", "*.*"}};
    if (!platformOpenFileDialog("Choisissez le fichier du modèle à ouvrir.", filters, path))
        return;
    loadModelFile(path);
}
