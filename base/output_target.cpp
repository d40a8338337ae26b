// Resolving a save's path to the file it writes: links followed, existing
// files' modes kept, anything but a writable regular file refused.
#include "base/output_target.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#ifdef _WIN32
#include <io.h>

// Windows: no links are followed and a file has no permission bits beyond its
// read-only attribute, which refuses it; a device or folder is refused alike.
OutputRefusal resolveOutputTarget(const std::string& requested, OutputTarget& target)
{
    struct stat info;
    if (stat(requested.c_str(), &info) != 0) {
        if (errno != ENOENT)
            return outputUnreachable;
        target = OutputTarget{requested};
        return outputAllowed;
    }
    if (!S_ISREG(info.st_mode))
        return outputNotRegular;
    if (_access(requested.c_str(), 2) != 0)
        return outputNotWritable;
    target = OutputTarget{requested, true};
    return outputAllowed;
}

bool keepTargetMode(int, const OutputTarget&) { return true; }

#else

namespace {

// Links followed before the path is taken to go round in circles (the
// system's own limit for a path lookup).
constexpr int longestLinkChain = 40;

// The text of the link at path, or false when it cannot be read.
bool readLink(const std::string& path, std::string& text)
{
    std::vector<char> buffer(256);
    for (;;) {
        ssize_t n = readlink(path.c_str(), buffer.data(), buffer.size());
        if (n < 0)
            return false;
        if (static_cast<size_t>(n) < buffer.size()) {
            text.assign(buffer.data(), static_cast<size_t>(n));
            return true;
        }
        buffer.resize(buffer.size() * 2);
    }
}

// A link's text taken from the folder that holds the link, as the system reads it.
std::string linkDestination(const std::string& link, const std::string& text)
{
    if (!text.empty() && text[0] == '/')
        return text;
    size_t slash = link.find_last_of('/');
    if (slash == std::string::npos)
        return text;
    return link.substr(0, slash + 1) + text;
}

} // namespace

OutputRefusal resolveOutputTarget(const std::string& requested, OutputTarget& target)
{
    std::string path = requested;
    for (int links = 0; links <= longestLinkChain; ++links) {
        struct stat info;
        if (lstat(path.c_str(), &info) != 0) {
            if (errno != ENOENT)
                return outputUnreachable;
            // Nothing stands there yet: a new file (a missing folder fails later, when it is made).
            target = OutputTarget{path};
            return outputAllowed;
        }
        if (S_ISLNK(info.st_mode)) {
            std::string text;
            if (!readLink(path, text))
                return outputUnreachable;
            path = linkDestination(path, text);
            continue;
        }
        if (!S_ISREG(info.st_mode))
            return outputNotRegular;
        // Whether the process may write the file, as for opening it to write
        // (the superuser may); effective ids, as an open would use.
        if (faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0)
            return outputNotWritable;
        target = OutputTarget{path, true, static_cast<unsigned>(info.st_mode & 0777),
                              static_cast<unsigned>(info.st_uid), static_cast<unsigned>(info.st_gid)};
        return outputAllowed;
    }
    return outputUnreachable;
}

bool keepTargetMode(int fd, const OutputTarget& target)
{
    if (!target.exists)
        return true;
    // Owner and group where the process may set them: only the superuser may
    // give a file away, and a member of the group may set it; what cannot be
    // kept stays as the new file has it.
    struct stat info;
    if (fstat(fd, &info) == 0 && (info.st_uid != target.owner || info.st_gid != target.group) &&
        fchown(fd, target.owner, target.group) != 0)
        (void)!fchown(fd, static_cast<uid_t>(-1), target.group);
    // The permission bits last, as a change of owner may clear some of them.
    return fchmod(fd, static_cast<mode_t>(target.mode)) == 0;
}

#endif
