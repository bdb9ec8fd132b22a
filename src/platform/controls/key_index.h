// The key space of a tree or a list: unique, case-sensitive string keys
// ("" means no key), all-numeric keys refused.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>

namespace platform {

// True for a key the tree and list controls refuse (35603): all decimal
// number, with an optional sign and at most one decimal point.
bool isNumericKey(std::string_view key);

// Raises 35603 for an all-numeric key and 35602 for a key in use.
void checkKeyFree(std::string_view key, bool inUse);

// Raises 35601, the error of a key no entry has.
[[noreturn]] void raiseUnknownKey();

template <class T>
class KeyIndex {
  public:
    // Raises unless key is "" or free and acceptable.
    void check(const std::string& key) const {
        if (!key.empty()) checkKeyFree(key, map_.count(key) != 0);
    }
    void add(const std::string& key, T* item) {
        if (!key.empty()) map_.emplace(key, item);
    }
    void erase(const std::string& key) {
        if (!key.empty()) map_.erase(key);
    }
    // Gives item (whose key is field) the new key, keeping keys unique.
    // True when the key changed.
    bool rekey(T* item, std::string& field, const std::string& key) {
        if (key == field) return false;
        check(key);
        erase(field);
        field = key;
        add(field, item);
        return true;
    }
    T* find(std::string_view key) const {
        if (key.empty()) return nullptr;
        auto it = map_.find(std::string(key));
        return it == map_.end() ? nullptr : it->second;
    }
    // The item with that key; 35601 when there is none.
    T& at(std::string_view key) const {
        T* item = find(key);
        if (!item) raiseUnknownKey();
        return *item;
    }
    void clear() { map_.clear(); }

  private:
    std::unordered_map<std::string, T*> map_;
};

}  // namespace platform
