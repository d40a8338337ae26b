// The PLY reader on arbitrary bytes: a reason that says where, or a whole
// mesh that comes back from its own PLY, OBJ and STL bytes.
#include "fuzz/mesh_reader_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) { return fuzzMeshReader(data, size, readPly); }
