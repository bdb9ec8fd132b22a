// Large pages for the program's heap.
//
// A big result list or catalogue tree fills tens of megabytes of fresh heap
// in one command; touched page by page, each 4 KiB page costs the system a
// fault of its own, and those faults can take longer than the search that
// fills them. Called once at the start of the program, before the heap holds
// much, this grows the heap's reserve to 64 MiB and asks the system to back
// it with large (2 MiB) pages where it can (transparent huge pages in
// "madvise" mode), so that filling it takes a few hundred faults instead of
// thousands. Memory is taken only as it is touched, a large page at a time;
// beyond the reserve the heap grows as before. Where the system has no large
// pages, nothing changes.
#pragma once

namespace platform::system {

void preferLargeHeapPages() noexcept;

}  // namespace platform::system
