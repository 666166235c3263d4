// Other systems: nothing to ask. Windows gives large pages only to accounts that hold the
// privilege to lock memory, and then only for memory locked for good.
#include "tools/large_pages.h"

void prefer_large_pages() {}
