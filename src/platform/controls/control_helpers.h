// Small rules shared by the control models' sources; not part of the public API.
#pragma once

#include "platform/controls/control.h"
#include "platform/error.h"

namespace platform::detail {

// A hidden or disabled control takes no user gesture.
inline bool takesGestures(const Control& c) { return c.visible() && c.enabled(); }

// Error 381 of a list read outside its entries.
[[noreturn]] inline void raiseBadListIndex() { raise(381, "无效的属性数组索引"); }

}  // namespace platform::detail
