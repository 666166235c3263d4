#include "ui/pad_host.h"

PadHost* thePadHost = nullptr;

PadHost::PadHost() { thePadHost = this; }

PadHost::~PadHost() {
    if (thePadHost == this) thePadHost = nullptr;
}
