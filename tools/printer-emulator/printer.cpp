// The emulated printer: its transport, its serving thread and the records it keeps.
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <mutex>
#include <thread>

#include "connection.h"
#include "language.h"
#include "printer_core.h"
#include "printer_emulator.h"
#include "pty_endpoint.h"
#include "stream_log.h"
#include "tcp_listener.h"

namespace emulator {
namespace {

constexpr auto kSettingsApplied = std::chrono::seconds(5);

std::unique_ptr<Language> languageFor(const std::string &name) {
    std::unique_ptr<Language> language = makeLanguage(name);
    if (!language) {
        std::string known;
        for (const std::string &each : supportedLanguages()) known += (known.empty() ? "" : ", ") + each;
        throw EmulatorError("unknown printer language \"" + name + "\" (known: " + known + ")");
    }
    return language;
}

void checkState(const Language &language, const PrinterState &state) {
    for (Condition condition : state.conditions())
        if (!language.canReport(condition))
            throw EmulatorError(std::string(language.name()) + " printers cannot report the state " +
                                std::string(conditionName(condition)));
}

void checkFault(Options::Transport transport, const Fault &fault) {
    if (transport == Options::Transport::Pty && (fault.kind == Fault::Kind::Refuse || fault.kind == Fault::Kind::DropAfter))
        throw EmulatorError("the fault " + fault.name() + " needs a TCP printer");
}

// Closes a connection with a reset instead of an orderly close, as a printer that drops it.
void abortConnection(int fd) {
    const linger reset{1, 0};
    ::setsockopt(fd, SOL_SOCKET, SO_LINGER, &reset, sizeof reset);
    ::close(fd);
}

}  // namespace

class Printer::Impl {
public:
    explicit Impl(const Options &options)
        : options_(options), language_(languageFor(options.language)),
          core_(options.ramBytes, options.flashBytes, options.state, options.fault) {
        checkState(*language_, options.state);
        checkFault(options.transport, options.fault);
        if (!options.logDir.empty()) log_ = std::make_unique<StreamLog>(options.logDir);
        if (options.transport == Options::Transport::Tcp)
            tcp_ = std::make_unique<TcpListener>(options.host, options.port, options.fault.kind == Fault::Kind::Refuse);
        else
            pty_ = std::make_unique<PtyEndpoint>();
        address_ = tcp_ ? tcp_->address() : pty_->path();
        port_ = tcp_ ? tcp_->port() : 0;
        wake_ = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
        if (wake_ < 0) throw EmulatorError(std::string("eventfd: ") + std::strerror(errno));
        thread_ = std::thread([this] { run(); });
    }

    ~Impl() {
        stop();
        ::close(wake_);
    }

    void stop() {
        std::lock_guard lock(stopMutex_);
        stopping_.store(true);
        wake();
        if (thread_.joinable()) thread_.join();
        tcp_.reset();
        pty_.reset();
    }

    void setState(const PrinterState &state) {
        checkState(*language_, state);
        core_.setState(state);
    }

    void setFault(const Fault &fault) {
        checkFault(options_.transport, fault);
        core_.setFault(fault);
        const uint64_t request = ++settingsRequested_;
        wake();
        // The listener belongs to the serving thread: wait until it has applied the fault.
        if (thread_.joinable() && !stopping_.load())
            core_.waitUntil([&] { return settingsApplied_.load() >= request || stopping_.load(); }, kSettingsApplied);
    }

    const Options options_;
    const std::unique_ptr<Language> language_;
    PrinterCore core_;
    std::string address_;  // kept after stop() closes the transport
    uint16_t port_ = 0;

private:
    std::unique_ptr<TcpListener> tcp_;
    std::unique_ptr<PtyEndpoint> pty_;
    std::unique_ptr<StreamLog> log_;

    void wake() {
        const uint64_t one = 1;
        [[maybe_unused]] const ssize_t written = ::write(wake_, &one, sizeof one);
    }

    // Runs on the serving thread whenever the settings may have changed.
    void applySettings() {
        const uint64_t request = settingsRequested_.load();
        if (tcp_) {
            try {
                tcp_->setRefusing(core_.fault().kind == Fault::Kind::Refuse);
            } catch (const EmulatorError &error) {
                core_.reject("", std::string("the listener could not follow the fault: ") + error.what());
            }
        }
        settingsApplied_.store(request);
        core_.notifyChanged();
    }

    std::unique_ptr<StreamLog::File> nextLogFile() {
        if (!log_) return nullptr;
        try {
            return log_->next();
        } catch (const EmulatorError &error) {
            core_.reject("", error.what());
            return nullptr;
        }
    }

    void run() {
        if (pty_) servePty();
        else serveTcp();
    }

    void serveTcp() {
        while (!stopping_.load()) {
            applySettings();
            pollfd fds[2] = {{tcp_->listeningFd(), POLLIN, 0}, {wake_, POLLIN, 0}};
            if (::poll(fds, 2, -1) < 0 && errno != EINTR) return;
            if (fds[1].revents & POLLIN) {
                uint64_t count = 0;
                [[maybe_unused]] const ssize_t got = ::read(wake_, &count, sizeof count);
            }
            if (!(fds[0].revents & POLLIN)) continue;
            const int client = tcp_->accept();
            if (client < 0) continue;
            const std::unique_ptr<StreamLog::File> file = nextLogFile();
            Connection connection(client, Connection::Channel::Socket, core_, *language_, wake_,
                                  [this] { applySettings(); }, file.get());
            const Connection::End end = connection.serve(stopping_);
            if (end == Connection::End::Dropped) abortConnection(client);
            else ::close(client);
            core_.connectionFinished();
        }
    }

    void servePty() {
        const std::unique_ptr<StreamLog::File> file = nextLogFile();
        Connection connection(pty_->master(), Connection::Channel::Terminal, core_, *language_, wake_,
                              [this] { applySettings(); }, file.get());
        applySettings();
        connection.serve(stopping_);
        // Should the terminal fail, stay until stopped so that the printer's life is the same.
        while (!stopping_.load()) {
            pollfd wake{wake_, POLLIN, 0};
            ::poll(&wake, 1, -1);
            uint64_t count = 0;
            [[maybe_unused]] const ssize_t got = ::read(wake_, &count, sizeof count);
        }
    }

    int wake_ = -1;
    std::mutex stopMutex_;
    std::atomic<bool> stopping_{false};
    std::atomic<uint64_t> settingsRequested_{0};
    std::atomic<uint64_t> settingsApplied_{0};
    std::thread thread_;
};

Printer::Printer(const Options &options) : impl_(std::make_unique<Impl>(options)) {}
Printer::~Printer() = default;

const std::string &Printer::language() const { return impl_->options_.language; }

std::string Printer::address() const { return impl_->address_; }

uint16_t Printer::port() const { return impl_->port_; }

std::string Printer::ptyPath() const {
    return impl_->options_.transport == Options::Transport::Pty ? impl_->address_ : std::string();
}

bool Printer::canReport(Condition condition) const { return impl_->language_->canReport(condition); }
void Printer::setState(const PrinterState &state) { impl_->setState(state); }
PrinterState Printer::state() const { return impl_->core_.state(); }
void Printer::setFault(const Fault &fault) { impl_->setFault(fault); }
Fault Printer::fault() const { return impl_->core_.fault(); }

uint64_t Printer::capacity(Memory memory) const { return impl_->core_.capacity(memory); }
uint64_t Printer::freeBytes(Memory memory) const { return impl_->core_.freeBytes(memory); }
std::vector<StoredObject> Printer::objects(Memory memory) const { return impl_->core_.objects(memory); }
std::optional<StoredObject> Printer::object(Memory memory, std::string_view name) const {
    return impl_->core_.object(memory, name);
}
bool Printer::addObject(Memory memory, StoredObject object) { return impl_->core_.store(memory, std::move(object)); }

std::vector<std::string> Printer::receivedStreams() const { return impl_->core_.receivedStreams(); }
std::vector<TestPrint> Printer::testPrints() const { return impl_->core_.testPrints(); }
std::vector<Rejection> Printer::rejections() const { return impl_->core_.rejections(); }
std::size_t Printer::repliesSent() const { return impl_->core_.repliesSent(); }
std::size_t Printer::finishedConnections() const { return impl_->core_.finishedConnections(); }

bool Printer::waitUntil(const std::function<bool()> &condition, std::chrono::milliseconds timeout) const {
    return impl_->core_.waitUntil(condition, timeout);
}

void Printer::stop() { impl_->stop(); }

}  // namespace emulator
