#include "connection.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

namespace emulator {
namespace {

constexpr size_t kReadChunk = 64 * 1024;
constexpr size_t kBabbleChunk = 512;
constexpr auto kBabblePause = std::chrono::milliseconds(2);

void drain(int fd) {
    char buffer[64];
    while (::read(fd, buffer, sizeof buffer) > 0) {
    }
}

}  // namespace

std::string fillerBytes(size_t offset, size_t length) {
    static const std::string line = std::string(62, '#') + "\r\n";
    std::string bytes;
    bytes.reserve(length);
    for (size_t i = 0; i < length; ++i) bytes.push_back(line[(offset + i) % line.size()]);
    return bytes;
}

// The Device the language acts on: the printer's core, with replies queued on this
// connection.
class Connection::Commands : public Device {
public:
    Commands(Connection &connection, PrinterCore &core) : connection_(connection), core_(core) {}

    void reply(std::string bytes) override { connection_.queueReply(std::move(bytes)); }
    bool store(Memory memory, StoredObject object) override { return core_.store(memory, std::move(object)); }
    void reject(std::string object, std::string reason) override { core_.reject(std::move(object), std::move(reason)); }
    size_t remove(Memory memory, std::string_view pattern, ObjectGroup group) override {
        return core_.remove(memory, pattern, group);
    }
    void format(Memory memory) override { core_.format(memory); }
    std::vector<ListedObject> list(Memory memory) const override { return core_.list(memory); }
    uint64_t freeBytes(Memory memory) const override { return core_.freeBytes(memory); }
    uint64_t room(Memory memory, std::string_view name, ObjectKind kind) const override {
        return core_.room(memory, name, kind);
    }
    std::optional<Memory> locate(std::string_view name, ObjectGroup group, std::optional<Memory> preferred) const override {
        return core_.locate(name, group, preferred);
    }
    std::vector<std::string> names(ObjectGroup group) const override { return core_.names(group); }
    PrinterState state() const override { return core_.state(); }
    void printed(TestPrint print) override { core_.printed(std::move(print)); }

private:
    Connection &connection_;
    PrinterCore &core_;
};

Connection::Connection(int fd, Channel channel, PrinterCore &core, const Language &language, int wakeFd,
                       std::function<void()> onWake, StreamLog::File *log)
    : fd_(fd), channel_(channel), core_(core), language_(language), wakeFd_(wakeFd), onWake_(std::move(onWake)),
      log_(log), device_(std::make_unique<Commands>(*this, core)), stream_(core.openStream()) {}

Connection::~Connection() = default;

Connection::End Connection::serve(const std::atomic<bool> &stopping) {
    bool inputOpen = true;
    std::string buffer(kReadChunk, '\0');
    while (!stopping.load()) {
        const Fault fault = core_.fault();
        if (fault.kind == Fault::Kind::DropAfter && received_ >= fault.bytes) return End::Dropped;

        const auto now = Clock::now();
        bool writable = false;
        int timeout = -1;
        if (!outgoing_.empty()) {
            if (outgoing_.front().due <= now) writable = true;
            else timeout = int(std::chrono::ceil<std::chrono::milliseconds>(outgoing_.front().due - now).count());
        } else if (babbling(fault)) {
            if (nextBabble_ <= now) writable = true;
            else timeout = int(std::chrono::ceil<std::chrono::milliseconds>(nextBabble_ - now).count());
        } else if (!inputOpen) {
            return End::PeerClosed;
        }

        pollfd fds[2] = {{fd_, short((inputOpen ? POLLIN : 0) | (writable ? POLLOUT : 0)), 0}, {wakeFd_, POLLIN, 0}};
        if (::poll(fds, 2, timeout) < 0) {
            if (errno == EINTR) continue;
            return End::Failed;
        }
        if (fds[1].revents & POLLIN) {
            drain(wakeFd_);
            if (onWake_) onWake_();
        }
        if (inputOpen && (fds[0].revents & (POLLIN | POLLHUP | POLLERR))) {
            size_t want = buffer.size();
            if (fault.kind == Fault::Kind::DropAfter) want = std::min<uint64_t>(want, fault.bytes - received_);
            const ssize_t n = ::read(fd_, buffer.data(), want);
            if (n > 0) {
                take(std::string_view(buffer.data(), size_t(n)));
            } else if (n == 0) {
                inputOpen = false;
                parse(true);
            } else if (errno != EAGAIN && errno != EINTR) {
                return End::Failed;
            }
        }
        if ((fds[0].revents & POLLOUT) && !flush(core_.fault())) return End::Failed;
        // Once the input has ended, a hang-up means the client is gone in both directions.
        if (!inputOpen && (fds[0].revents & (POLLHUP | POLLERR))) return End::PeerClosed;
    }
    return End::Stopped;
}

void Connection::take(std::string_view bytes) {
    received_ += bytes.size();
    core_.received(stream_, bytes);
    if (log_) log_->append(bytes);

    size_t used = 0;
    if (skip_ > 0) {
        used = size_t(std::min<uint64_t>(skip_, bytes.size()));
        skip_ -= used;
    }
    pending_.append(bytes.substr(used));
    if (pending_.size() - pendingStart_ >= needAtLeast_) parse(false);
}

void Connection::parse(bool endOfStream) {
    while (pendingStart_ < pending_.size()) {
        const std::string_view input = std::string_view(pending_).substr(pendingStart_);
        if (skip_ > 0) {
            const size_t dropped = size_t(std::min<uint64_t>(skip_, input.size()));
            skip_ -= dropped;
            pendingStart_ += dropped;
            continue;
        }
        const Parsed parsed = language_.parse(input, endOfStream, *device_);
        if (parsed.waiting()) {
            if (endOfStream) {
                core_.reject("", "the stream ended inside a command; " + std::to_string(input.size()) + " bytes unused");
                pendingStart_ = pending_.size();
            } else {
                needAtLeast_ = std::max(parsed.needAtLeast, input.size() + 1);
            }
            break;
        }
        pendingStart_ += std::min(parsed.consumed, input.size());
        skip_ = parsed.skip;
        needAtLeast_ = 0;
    }
    // Keep the unused bytes only.
    if (pendingStart_ == pending_.size()) {
        pending_.clear();
        pendingStart_ = 0;
    } else if (pendingStart_ > pending_.size() / 2) {
        pending_.erase(0, pendingStart_);
        pendingStart_ = 0;
    }
}

void Connection::queueReply(std::string bytes) {
    const Fault fault = core_.fault();
    if (fault.kind == Fault::Kind::NoAnswer) return;
    if (fault.kind == Fault::Kind::LongReply && bytes.size() < fault.bytes)
        bytes += fillerBytes(0, size_t(fault.bytes) - bytes.size());
    Outgoing out;
    out.bytes = std::move(bytes);
    out.due = Clock::now() + (fault.kind == Fault::Kind::Slow ? fault.delay : std::chrono::milliseconds(0));
    out.startsBabble = fault.kind == Fault::Kind::BabbleAfterQuery;
    outgoing_.push_back(std::move(out));
}

bool Connection::babbling(const Fault &fault) const {
    return fault.kind == Fault::Kind::Babble || (fault.kind == Fault::Kind::BabbleAfterQuery && babbleStarted_);
}

bool Connection::flush(const Fault &fault) {
    const auto now = Clock::now();
    while (!outgoing_.empty() && outgoing_.front().due <= now) {
        Outgoing &front = outgoing_.front();
        const ssize_t n = write(front.bytes.data() + front.sent, front.bytes.size() - front.sent);
        if (n < 0) return errno == EAGAIN || errno == EINTR;
        front.sent += size_t(n);
        if (front.sent < front.bytes.size()) return true;
        if (front.startsBabble) babbleStarted_ = true;
        outgoing_.pop_front();
        core_.replySent();
    }
    if (outgoing_.empty() && babbling(fault) && nextBabble_ <= now) {
        const std::string chunk = fillerBytes(babbleOffset_, kBabbleChunk);
        const ssize_t n = write(chunk.data(), chunk.size());
        if (n < 0) return errno == EAGAIN || errno == EINTR;
        babbleOffset_ += size_t(n);
        nextBabble_ = now + kBabblePause;
    }
    return true;
}

ssize_t Connection::write(const char *data, size_t size) {
    if (channel_ == Channel::Socket) return ::send(fd_, data, size, MSG_NOSIGNAL | MSG_DONTWAIT);
    return ::write(fd_, data, size);
}

}  // namespace emulator
