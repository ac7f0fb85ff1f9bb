// One printer memory (RAM or FLASH): the objects it holds and a fixed capacity. Not
// thread-safe; the printer keeps it under its lock.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "printer_emulator.h"

namespace emulator {

// Which objects a delete command addresses: languages that keep fonts and graphics apart
// delete within one group.
enum class ObjectGroup { Any, Fonts, Graphics };

bool inGroup(ObjectKind kind, ObjectGroup group);

class MemoryStore {
public:
    explicit MemoryStore(uint64_t capacity) : capacity_(capacity) {}

    uint64_t capacity() const { return capacity_; }
    uint64_t used() const { return used_; }
    uint64_t freeBytes() const { return capacity_ - used_; }

    // Stores the object, replacing one of the same name and group. Returns false, storing
    // nothing, when the object does not fit in what would then be free.
    bool store(StoredObject object);

    // The bytes an object of that name and kind may take: the free bytes plus those of the
    // object it would replace.
    uint64_t room(std::string_view name, ObjectKind kind) const;

    // Removes the objects whose name matches `pattern` ("*" and "?" wildcards) in `group`;
    // returns how many.
    size_t remove(std::string_view pattern, ObjectGroup group);
    void clear();

    const std::vector<StoredObject> &objects() const { return objects_; }
    const StoredObject *find(std::string_view name, ObjectGroup group = ObjectGroup::Any) const;

private:
    std::vector<StoredObject>::const_iterator sameAs(std::string_view name, ObjectKind kind) const;

    uint64_t capacity_;
    uint64_t used_ = 0;
    std::vector<StoredObject> objects_;
};

// Matches a name against a pattern where "*" stands for any run of characters and "?" for one.
bool wildcardMatch(std::string_view pattern, std::string_view name);

}  // namespace emulator
