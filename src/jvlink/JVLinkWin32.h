#pragma once
// The JV-Link control itself (Windows only): created by its ProgID through
// COM and called late-bound through IDispatch.
#include <memory>

#include "jvlink/JVLink.h"

namespace furlong {

// Throws JVLinkUnavailable when COM or the control cannot be created.
std::unique_ptr<JVLink> CreateJVLinkControl();

}  // namespace furlong
