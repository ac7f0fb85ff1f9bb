// An emulated label printer for tests and demonstrations: it speaks one of the printer command
// languages (KDXZ, KDXT, KDXA, KDXC, KDXE) on a loopback TCP port or on a pseudo-terminal,
// keeps the fonts, graphics and data files downloaded into its RAM and FLASH, answers the
// memory, file-list and status queries, applies delete and format commands, records test
// prints, and can misbehave in the ways a real link does (see Fault).
//
// Thread safety: every public member of Printer may be called from any thread while the
// printer serves its clients on its own thread.
#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace emulator {

// Bad options, an unknown language, state or fault, or a transport that cannot be opened.
class EmulatorError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The languages the emulator can speak, in a stable order.
std::vector<std::string> supportedLanguages();

enum class Memory { Ram, Flash };

enum class ObjectKind { BitmapFont, TrueTypeFont, Graphic, DataFile };

std::string_view memoryName(Memory memory);     // "RAM", "FLASH"
std::string_view kindName(ObjectKind kind);     // "bitmap font", "TrueType font", "graphic", "data file"
inline bool isFont(ObjectKind kind) { return kind == ObjectKind::BitmapFont || kind == ObjectKind::TrueTypeFont; }

// One object in printer memory. Byte sequences are held in std::string.
struct StoredObject {
    std::string name;    // as the printer lists it (with its extension where the language uses one)
    ObjectKind kind = ObjectKind::Graphic;
    std::string format;  // graphics: "BMP", "PCX", "GRF" or "PNG"; empty for other kinds
    std::string data;    // the object as stored (GRF rows decompressed, PNG and hex text decoded)
    uint64_t size() const { return data.size(); }
};

// A test print: the print job as received and the object it names.
struct TestPrint {
    std::string stream;            // the job's bytes, from its first command to its last
    std::string object;            // the font or graphic the job names
    std::optional<Memory> memory;  // where that object is stored; empty when it is not
    std::string text;              // the test text of a font print, as sent
};

// A download the printer did not store, or a command it could not complete, and why.
struct Rejection {
    std::string object;  // empty for a command that names no object
    std::string reason;
};

// Conditions a printer can be in. Each language reports only some of them (see canReport).
enum class Condition : uint8_t {
    PaperOut, HeadOpen, Paused, RibbonOut, PaperJam, BufferFull, Busy, LabelWaiting,
    LowBattery, PaperLow, PrinterReset, Batching, LabelMissing, SyntaxError, MemoryFull,
    CutterError, SensorError, OtherError,
};
inline constexpr int kConditionCount = 18;

std::string_view conditionName(Condition condition);  // "paper-out", "head-open", ...

// A set of conditions; the empty set is "ready".
class PrinterState {
public:
    PrinterState() = default;
    PrinterState(std::initializer_list<Condition> conditions);

    // "ready", a condition name, or names joined with "+" ("paper-out+head-open").
    // Throws EmulatorError for an unknown name.
    static PrinterState parse(std::string_view text);

    bool ready() const { return bits_ == 0; }
    bool has(Condition condition) const { return (bits_ >> static_cast<int>(condition)) & 1u; }
    std::vector<Condition> conditions() const;
    std::string name() const;
    bool operator==(const PrinterState &) const = default;

private:
    uint32_t bits_ = 0;
};

// A way for the printer to misbehave, for testing the hosts that talk to it.
struct Fault {
    enum class Kind {
        None,
        NoAnswer,          // receives and applies everything, never replies
        Slow,              // waits `delay` before each reply
        DropAfter,         // aborts the connection once `bytes` bytes have been received (TCP)
        Babble,            // sends bytes without end as soon as a client connects
        BabbleAfterQuery,  // answers the first query, then keeps sending
        LongReply,         // pads every reply to at least `bytes` bytes
        Refuse,            // connections are refused (TCP)
    };
    Kind kind = Kind::None;
    std::chrono::milliseconds delay{0};
    uint64_t bytes = 0;

    // "none", "no-answer", "slow=300ms" (also "slow=2s", bare numbers are milliseconds),
    // "drop-after=100", "babble", "babble=after-query", "long-reply" (2048 bytes) or
    // "long-reply=BYTES", "refuse". Throws EmulatorError for anything else.
    static Fault parse(std::string_view text);
    std::string name() const;
    bool operator==(const Fault &) const = default;
};

struct Options {
    enum class Transport { Tcp, Pty };

    std::string language = "KDXZ";
    Transport transport = Transport::Tcp;
    std::string host = "127.0.0.1";  // loopback only: 127.0.0.0/8, ::1 or "localhost"
    uint16_t port = 0;               // 0 picks a free port
    uint64_t ramBytes = uint64_t(8) << 20;
    uint64_t flashBytes = uint64_t(64) << 20;
    PrinterState state;
    Fault fault;
    std::filesystem::path logDir;    // when set, every received stream is saved there as NNNN.bin
};

class Printer {
public:
    // Opens the transport and starts serving. Throws EmulatorError when the options are
    // invalid (unknown language, non-loopback host, a state the language cannot report, a
    // TCP-only fault on a pseudo-terminal) or the transport cannot be opened.
    explicit Printer(const Options &options);
    ~Printer();  // stops serving
    Printer(const Printer &) = delete;
    Printer &operator=(const Printer &) = delete;

    const std::string &language() const;
    // "127.0.0.1:PORT", "[::1]:PORT" or the pseudo-terminal's path "/dev/pts/N".
    std::string address() const;
    uint16_t port() const;  // 0 on a pseudo-terminal
    std::string ptyPath() const;  // empty on TCP

    // Whether the language's status reply can express a condition.
    bool canReport(Condition condition) const;
    void setState(const PrinterState &state);  // throws EmulatorError as the constructor does
    PrinterState state() const;
    void setFault(const Fault &fault);         // throws EmulatorError as the constructor does
    Fault fault() const;

    uint64_t capacity(Memory memory) const;
    uint64_t freeBytes(Memory memory) const;
    std::vector<StoredObject> objects(Memory memory) const;
    std::optional<StoredObject> object(Memory memory, std::string_view name) const;
    // Puts an object into memory as if it had been downloaded; false when it does not fit.
    bool addObject(Memory memory, StoredObject object);

    std::vector<std::string> receivedStreams() const;  // one per connection, in order
    std::vector<TestPrint> testPrints() const;
    std::vector<Rejection> rejections() const;
    std::size_t repliesSent() const;          // replies written out completely
    std::size_t finishedConnections() const;  // TCP connections served to their end

    // Waits until `condition` holds (it is re-checked whenever the printer's records change)
    // or the time is up; returns the condition's last value.
    bool waitUntil(const std::function<bool()> &condition, std::chrono::milliseconds timeout) const;

    // Stops serving and closes the transport; idempotent.
    void stop();

private:
    class Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace emulator
