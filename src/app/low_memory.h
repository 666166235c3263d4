#pragma once
// What the program does when memory runs out: the first time it gives back a reserve and warns,
// so that the user can still save; every later time it cancels the operation in progress.

// Two blocks of 20000 bytes taken before the program starts; released when memory runs out.
extern void* firstReserve;
extern void* secondReserve;

// The allocator's new-handler. First exhaustion: releases firstReserve, shows the "Low memory"
// warning and returns so that the allocation is tried again. Every later one: releases
// secondReserve if still held and throws the "Operation cancelled" msg_exception.
void lowMemoryHandler();

// Installs lowMemoryHandler for failing `new` and, where the runtime allows, failing `malloc`.
void installLowMemoryHandler();
