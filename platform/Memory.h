#pragma once
// Memory housekeeping the operating system offers.

// Gives memory that the program has freed back to the system (after a large
// load whose temporary structures are gone), where the allocator allows it.
void ReleaseFreedMemory();
