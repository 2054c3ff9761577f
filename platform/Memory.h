#pragma once
// Memory housekeeping the operating system offers.

// Gives memory that the program has freed back to the system (after a large
// load whose temporary structures are gone), where the allocator allows it.
void ReleaseFreedMemory();

// Asks for huge pages behind a buffer of many megabytes that is about to be
// written, where the system offers them: a fresh buffer otherwise costs a page
// fault for every 4 KiB written. Only the whole huge pages inside it count.
void PreferHugePages(void *data, long long size);
