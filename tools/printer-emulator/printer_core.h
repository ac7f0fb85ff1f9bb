// Everything a printer keeps: its memories, state, fault and the records of what it received,
// printed and rejected. Every member is safe to call from any thread; each change wakes the
// threads waiting in waitUntil().
#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "language.h"
#include "memory_store.h"
#include "printer_emulator.h"

namespace emulator {

class PrinterCore {
public:
    PrinterCore(uint64_t ramBytes, uint64_t flashBytes, PrinterState state, Fault fault);

    // Memories.
    bool store(Memory memory, StoredObject object);  // records a rejection when it does not fit
    size_t remove(Memory memory, std::string_view pattern, ObjectGroup group);
    void format(Memory memory);
    std::vector<ListedObject> list(Memory memory) const;
    std::vector<StoredObject> objects(Memory memory) const;
    std::optional<StoredObject> object(Memory memory, std::string_view name) const;
    std::optional<Memory> locate(std::string_view name, ObjectGroup group, std::optional<Memory> preferred) const;
    std::vector<std::string> names(ObjectGroup group) const;
    uint64_t capacity(Memory memory) const;
    uint64_t freeBytes(Memory memory) const;
    uint64_t room(Memory memory, std::string_view name, ObjectKind kind) const;

    PrinterState state() const;
    void setState(const PrinterState &state);
    Fault fault() const;
    void setFault(const Fault &fault);

    // Records.
    size_t openStream();  // a new received stream; returns its index
    void received(size_t stream, std::string_view bytes);
    void reject(std::string object, std::string reason);
    void printed(TestPrint print);
    void replySent();
    void connectionFinished();

    std::vector<std::string> receivedStreams() const;
    std::vector<TestPrint> testPrints() const;
    std::vector<Rejection> rejections() const;
    size_t repliesSent() const;
    size_t finishedConnections() const;

    bool waitUntil(const std::function<bool()> &condition, std::chrono::milliseconds timeout) const;
    // Wakes the waiting threads, for changes made outside this class.
    void notifyChanged() const;

private:
    MemoryStore &memory(Memory which) { return which == Memory::Ram ? ram_ : flash_; }
    const MemoryStore &memory(Memory which) const { return which == Memory::Ram ? ram_ : flash_; }

    mutable std::mutex mutex_;
    MemoryStore ram_;
    MemoryStore flash_;
    PrinterState state_;
    Fault fault_;
    std::vector<std::string> streams_;
    std::vector<TestPrint> prints_;
    std::vector<Rejection> rejections_;
    size_t repliesSent_ = 0;
    size_t finishedConnections_ = 0;

    // Separate from mutex_ so that conditions may call the accessors above.
    mutable std::mutex changeMutex_;
    mutable std::condition_variable changed_;
    mutable uint64_t generation_ = 0;
};

}  // namespace emulator
