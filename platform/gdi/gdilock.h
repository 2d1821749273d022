// One lock for every drawing object: the public drawing calls hold it, and so
// do the modules that draw through the internal interfaces.
#pragma once

#include <mutex>

namespace gdi {

std::recursive_mutex& GdiMutex();
using GdiLock = std::lock_guard<std::recursive_mutex>;

}  // namespace gdi
