// Small rules shared by the control models' sources; not part of the public API.
#pragma once

#include <cstddef>
#include <string_view>

#include "platform/controls/control.h"
#include "platform/error.h"

namespace platform::detail {

// A hidden or disabled control takes no user gesture.
inline bool takesGestures(const Control& c) { return c.visible() && c.enabled(); }

// Error 381 of a list read outside its entries.
[[noreturn]] inline void raiseBadListIndex() { raise(err::InvalidPropertyArrayIndex); }

// Entry index (from 1) of a collection; 35600 outside 1..size.
template <class Items>
auto& atIndex(Items& items, int index) {
    if (index < 1 || static_cast<std::size_t>(index) > items.size()) raiseBadIndex();
    return items[static_cast<std::size_t>(index - 1)];
}

// The entry (held by pointer) whose key() is key; nullptr for "" or none.
template <class Items>
auto findByKey(const Items& items, std::string_view key) -> decltype(&*items.front()) {
    if (!key.empty())
        for (const auto& entry : items)
            if (entry->key() == key) return &*entry;
    return nullptr;
}

// The entry whose key() is key; 35601 when there is none.
template <class Items>
auto& atKey(const Items& items, std::string_view key) {
    auto* entry = findByKey(items, key);
    if (!entry) raise(err::ElementNotFound);
    return *entry;
}

}  // namespace platform::detail
