// Huge-page advice for large working blocks.
#pragma once

#include <cstddef>

// Asks the system to back the whole 2 MiB pages inside the block with huge
// pages; blocks smaller than one such page, and other systems, are left as they are.
void adviseHugePages(void* data, std::size_t bytes);
