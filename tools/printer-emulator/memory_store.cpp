#include "memory_store.h"

#include <algorithm>

namespace emulator {
namespace {

// Objects of the same name replace each other only within their group: a font and a graphic
// may share a name in languages that keep them apart.
ObjectGroup groupOf(ObjectKind kind) {
    if (isFont(kind)) return ObjectGroup::Fonts;
    if (kind == ObjectKind::Graphic) return ObjectGroup::Graphics;
    return ObjectGroup::Any;
}

}  // namespace

std::string_view memoryName(Memory memory) { return memory == Memory::Ram ? "RAM" : "FLASH"; }

std::string_view kindName(ObjectKind kind) {
    switch (kind) {
        case ObjectKind::BitmapFont: return "bitmap font";
        case ObjectKind::TrueTypeFont: return "TrueType font";
        case ObjectKind::Graphic: return "graphic";
        case ObjectKind::DataFile: return "data file";
    }
    return "object";
}

bool inGroup(ObjectKind kind, ObjectGroup group) {
    switch (group) {
        case ObjectGroup::Any: return true;
        case ObjectGroup::Fonts: return isFont(kind);
        case ObjectGroup::Graphics: return kind == ObjectKind::Graphic;
    }
    return false;
}

bool wildcardMatch(std::string_view pattern, std::string_view name) {
    // Iterative matching with one back-tracking point for the last "*".
    size_t p = 0, n = 0, star = std::string_view::npos, resume = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || pattern[p] == name[n])) {
            ++p;
            ++n;
        } else if (p < pattern.size() && pattern[p] == '*') {
            star = p++;
            resume = n;
        } else if (star != std::string_view::npos) {
            p = star + 1;
            n = ++resume;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

std::vector<StoredObject>::const_iterator MemoryStore::sameAs(std::string_view name, ObjectKind kind) const {
    return std::find_if(objects_.begin(), objects_.end(), [&](const StoredObject &held) {
        return held.name == name && groupOf(held.kind) == groupOf(kind);
    });
}

uint64_t MemoryStore::room(std::string_view name, ObjectKind kind) const {
    const auto same = sameAs(name, kind);
    return freeBytes() + (same == objects_.end() ? 0 : same->size());
}

bool MemoryStore::store(StoredObject object) {
    const auto same = sameAs(object.name, object.kind);
    const uint64_t released = same == objects_.end() ? 0 : same->size();
    if (object.size() > freeBytes() + released) return false;
    if (same != objects_.end()) objects_.erase(same);
    used_ = used_ - released + object.size();
    objects_.push_back(std::move(object));
    return true;
}

size_t MemoryStore::remove(std::string_view pattern, ObjectGroup group) {
    size_t removed = 0;
    std::erase_if(objects_, [&](const StoredObject &held) {
        if (!inGroup(held.kind, group) || !wildcardMatch(pattern, held.name)) return false;
        used_ -= held.size();
        ++removed;
        return true;
    });
    return removed;
}

void MemoryStore::clear() {
    objects_.clear();
    used_ = 0;
}

const StoredObject *MemoryStore::find(std::string_view name, ObjectGroup group) const {
    for (const StoredObject &held : objects_)
        if (held.name == name && inGroup(held.kind, group)) return &held;
    return nullptr;
}

}  // namespace emulator
