// The common ancestor of the media library's components.
#pragma once

#include "platform/base/classes.h"

class TFFBaseComponent : public TComponent {
public:
    using TComponent::TComponent;
};
