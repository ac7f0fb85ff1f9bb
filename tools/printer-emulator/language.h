// The interface behind which each printer language lives (one file per language in
// languages/): it reads commands from the bytes a client sent and acts on a Device.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "memory_store.h"
#include "printer_emulator.h"

namespace emulator {

struct ListedObject {
    std::string name;
    ObjectKind kind;
    uint64_t size;
};

// What a command may do to the printer. One Device serves one connection; replies go back
// on that connection.
class Device {
public:
    virtual ~Device() = default;

    virtual void reply(std::string bytes) = 0;

    // Stores a downloaded object; when it does not fit, records a rejection and returns false.
    virtual bool store(Memory memory, StoredObject object) = 0;
    // Records a download that was not stored.
    virtual void reject(std::string object, std::string reason) = 0;
    virtual size_t remove(Memory memory, std::string_view pattern, ObjectGroup group) = 0;
    virtual void format(Memory memory) = 0;

    virtual std::vector<ListedObject> list(Memory memory) const = 0;
    virtual uint64_t freeBytes(Memory memory) const = 0;
    // Bytes an object of that name and kind may take: the free bytes plus those of the
    // object it would replace.
    virtual uint64_t room(Memory memory, std::string_view name, ObjectKind kind) const = 0;
    // Where an object of that name is: in `preferred` only when given, else RAM, then FLASH.
    virtual std::optional<Memory> locate(std::string_view name, ObjectGroup group,
                                         std::optional<Memory> preferred = std::nullopt) const = 0;
    // Names of the stored objects of a group in both memories (for resolving print commands).
    virtual std::vector<std::string> names(ObjectGroup group) const = 0;

    virtual PrinterState state() const = 0;
    virtual void printed(TestPrint print) = 0;
};

// The outcome of reading at the start of the unread input: `consumed` bytes were used (one
// command, or bytes skipped as noise), after which `skip` more bytes are to be dropped unread
// as they arrive (the data of a download that was rejected from its header); or, with
// consumed 0, the command is not complete yet and reading should resume once at least
// `needAtLeast` bytes are there.
struct Parsed {
    size_t consumed = 0;
    size_t needAtLeast = 0;
    uint64_t skip = 0;

    static Parsed took(size_t bytes, uint64_t skipAfter = 0) { return {bytes, 0, skipAfter}; }
    static Parsed wait(size_t atLeast) { return {0, atLeast, 0}; }
    bool waiting() const { return consumed == 0; }
};

class Language {
public:
    virtual ~Language() = default;

    virtual std::string_view name() const = 0;
    // Whether the status reply can express the condition.
    virtual bool canReport(Condition condition) const = 0;
    // Reads one command from the start of `input` (never empty) and applies it to `device`.
    // With `endOfStream` no more bytes will come: a command that needs more may still wait,
    // and the caller then discards the rest.
    virtual Parsed parse(std::string_view input, bool endOfStream, Device &device) const = 0;
};

// The language of that name, or null when there is none (languages/registry.cpp).
std::unique_ptr<Language> makeLanguage(std::string_view name);

}  // namespace emulator
