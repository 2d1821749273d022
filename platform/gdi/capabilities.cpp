#include "platform/gdi/capabilities.h"

namespace win {

TCapabilities& Capabilities() {
    static TCapabilities capabilities;
    return capabilities;
}

void ResetCapabilities() {
    Capabilities() = TCapabilities();
}

}  // namespace win
