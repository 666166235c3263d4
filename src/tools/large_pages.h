#pragma once
// A large pad fills tens of megabytes of new memory, and on some systems (virtual machines above
// all) the first touch of each small page of it costs more than reading the pad. Where the system
// can back the heap with large pages on request, nibtool asks for them. One implementation file
// per system, chosen by the build.

// Call once, first thing in main, before the heap has grown.
void prefer_large_pages();
