// Where a save into a path writes, and whether it may. Every file the viewer
// writes goes through a temporary file renamed into place; these rules make
// that rename behave as writing into the file the path names:
// - a symbolic link (or a chain of them) is followed to the file it names,
//   and the link itself stays: the temporary file goes in the folder of that
//   final file and is renamed onto it;
// - an existing file keeps its permission bits (and its owner and group when
//   the process may set them);
// - a path naming something other than a regular file (a device, a pipe, a
//   folder) is refused, and so is a file the process may not write.
// A path where nothing stands yet gives a new file with the default mode.
#pragma once

#include <string>

// Why a path may not be written.
enum OutputRefusal {
    outputAllowed = 0,
    outputNotRegular,   // a device, pipe, socket or folder stands there
    outputNotWritable,  // a regular file the process may not write
    outputUnreachable,  // a link that goes round in circles, or a path that cannot be looked at
};

// The file a save writes, once links are followed.
struct OutputTarget {
    // The final path: the temporary file is made next to it and renamed onto it.
    std::string path;
    // A regular file stands at path: its mode, owner and group are kept.
    bool exists = false;
    unsigned mode = 0;
    unsigned owner = 0;
    unsigned group = 0;
};

// Follows requested to the file a save writes and tells whether it may be
// written; target is filled when the answer is outputAllowed.
OutputRefusal resolveOutputTarget(const std::string& requested, OutputTarget& target);

// Gives the open temporary file fd the permission bits (and, where allowed,
// the owner and group) of the file it is about to replace. Does nothing for a
// new file. False when the permission bits could not be set.
bool keepTargetMode(int fd, const OutputTarget& target);
