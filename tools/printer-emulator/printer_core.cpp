#include "printer_core.h"

namespace emulator {

PrinterCore::PrinterCore(uint64_t ramBytes, uint64_t flashBytes, PrinterState state, Fault fault)
    : ram_(ramBytes), flash_(flashBytes), state_(state), fault_(fault) {}

bool PrinterCore::store(Memory which, StoredObject object) {
    bool stored = false;
    {
        std::lock_guard lock(mutex_);
        const std::string name = object.name;
        const uint64_t size = object.size();
        stored = memory(which).store(std::move(object));
        if (!stored)
            rejections_.push_back({name, "it does not fit in " + std::string(memoryName(which)) + " (" +
                                             std::to_string(size) + " bytes, " +
                                             std::to_string(memory(which).freeBytes()) + " free)"});
    }
    notifyChanged();
    return stored;
}

size_t PrinterCore::remove(Memory which, std::string_view pattern, ObjectGroup group) {
    size_t removed = 0;
    {
        std::lock_guard lock(mutex_);
        removed = memory(which).remove(pattern, group);
    }
    notifyChanged();
    return removed;
}

void PrinterCore::format(Memory which) {
    {
        std::lock_guard lock(mutex_);
        memory(which).clear();
    }
    notifyChanged();
}

std::vector<ListedObject> PrinterCore::list(Memory which) const {
    std::lock_guard lock(mutex_);
    std::vector<ListedObject> listed;
    for (const StoredObject &object : memory(which).objects()) listed.push_back({object.name, object.kind, object.size()});
    return listed;
}

std::vector<StoredObject> PrinterCore::objects(Memory which) const {
    std::lock_guard lock(mutex_);
    return memory(which).objects();
}

std::optional<StoredObject> PrinterCore::object(Memory which, std::string_view name) const {
    std::lock_guard lock(mutex_);
    const StoredObject *found = memory(which).find(name);
    return found ? std::optional(*found) : std::nullopt;
}

std::optional<Memory> PrinterCore::locate(std::string_view name, ObjectGroup group, std::optional<Memory> preferred) const {
    std::lock_guard lock(mutex_);
    if (preferred) return memory(*preferred).find(name, group) ? preferred : std::nullopt;
    for (Memory which : {Memory::Ram, Memory::Flash})
        if (memory(which).find(name, group)) return which;
    return std::nullopt;
}

std::vector<std::string> PrinterCore::names(ObjectGroup group) const {
    std::lock_guard lock(mutex_);
    std::vector<std::string> list;
    for (const MemoryStore *store : {&ram_, &flash_})
        for (const StoredObject &object : store->objects())
            if (inGroup(object.kind, group)) list.push_back(object.name);
    return list;
}

uint64_t PrinterCore::capacity(Memory which) const {
    std::lock_guard lock(mutex_);
    return memory(which).capacity();
}

uint64_t PrinterCore::freeBytes(Memory which) const {
    std::lock_guard lock(mutex_);
    return memory(which).freeBytes();
}

uint64_t PrinterCore::room(Memory which, std::string_view name, ObjectKind kind) const {
    std::lock_guard lock(mutex_);
    return memory(which).room(name, kind);
}

PrinterState PrinterCore::state() const {
    std::lock_guard lock(mutex_);
    return state_;
}

void PrinterCore::setState(const PrinterState &state) {
    {
        std::lock_guard lock(mutex_);
        state_ = state;
    }
    notifyChanged();
}

Fault PrinterCore::fault() const {
    std::lock_guard lock(mutex_);
    return fault_;
}

void PrinterCore::setFault(const Fault &fault) {
    {
        std::lock_guard lock(mutex_);
        fault_ = fault;
    }
    notifyChanged();
}

size_t PrinterCore::openStream() {
    size_t index = 0;
    {
        std::lock_guard lock(mutex_);
        index = streams_.size();
        streams_.emplace_back();
    }
    notifyChanged();
    return index;
}

void PrinterCore::received(size_t stream, std::string_view bytes) {
    {
        std::lock_guard lock(mutex_);
        streams_.at(stream).append(bytes);
    }
    notifyChanged();
}

void PrinterCore::reject(std::string object, std::string reason) {
    {
        std::lock_guard lock(mutex_);
        rejections_.push_back({std::move(object), std::move(reason)});
    }
    notifyChanged();
}

void PrinterCore::printed(TestPrint print) {
    {
        std::lock_guard lock(mutex_);
        prints_.push_back(std::move(print));
    }
    notifyChanged();
}

void PrinterCore::replySent() {
    {
        std::lock_guard lock(mutex_);
        ++repliesSent_;
    }
    notifyChanged();
}

void PrinterCore::connectionFinished() {
    {
        std::lock_guard lock(mutex_);
        ++finishedConnections_;
    }
    notifyChanged();
}

std::vector<std::string> PrinterCore::receivedStreams() const {
    std::lock_guard lock(mutex_);
    return streams_;
}

std::vector<TestPrint> PrinterCore::testPrints() const {
    std::lock_guard lock(mutex_);
    return prints_;
}

std::vector<Rejection> PrinterCore::rejections() const {
    std::lock_guard lock(mutex_);
    return rejections_;
}

size_t PrinterCore::repliesSent() const {
    std::lock_guard lock(mutex_);
    return repliesSent_;
}

size_t PrinterCore::finishedConnections() const {
    std::lock_guard lock(mutex_);
    return finishedConnections_;
}

void PrinterCore::notifyChanged() const {
    {
        std::lock_guard lock(changeMutex_);
        ++generation_;
    }
    changed_.notify_all();
}

bool PrinterCore::waitUntil(const std::function<bool()> &condition, std::chrono::milliseconds timeout) const {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    std::unique_lock lock(changeMutex_);
    while (true) {
        const uint64_t seen = generation_;
        lock.unlock();
        if (condition()) return true;
        lock.lock();
        if (!changed_.wait_until(lock, deadline, [&] { return generation_ != seen; })) {
            lock.unlock();
            return condition();
        }
    }
}

}  // namespace emulator
