// The process-wide private flag.
#include "store/PrivateMode.h"

namespace {
bool g_private = false;
}

bool PrivateMode::isOn()
{
    return g_private;
}

void PrivateMode::setOn(bool on)
{
    g_private = on;
}
