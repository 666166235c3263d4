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

// An operation that ran out of memory was cancelled before the handler could act (std::bad_alloc
// reached a message handler or the loop): releases secondReserve if still held and shows the
// "Operation cancelled" box, as a later exhaustion does.
void reportOutOfMemory();

// Installs lowMemoryHandler for failing `new` and, where the runtime allows, failing `malloc`, and
// reportOutOfMemory as the window framework's answer to std::bad_alloc.
void installLowMemoryHandler();
