// How much memory the system can still give this process, asked before an
// operation that needs a great deal of it, so that it can be refused while
// nothing is lost rather than have the process killed halfway.
#pragma once

// Bytes the process may still allocate without the system running short:
// the memory the system reports as available, lowered to what is left under
// the process's address-space limit when one is set. -1 when the system
// tells neither.
long long availableMemoryBytes();
