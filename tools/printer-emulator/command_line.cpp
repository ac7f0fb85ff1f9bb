#include "command_line.h"

#include "byte_text.h"
#include "language.h"
#include "tcp_listener.h"

namespace emulator {
namespace {

std::string conditionsOf(const Language &language) {
    std::string list;
    for (int i = 0; i < kConditionCount; ++i) {
        const auto condition = static_cast<Condition>(i);
        if (language.canReport(condition)) list += (list.empty() ? "" : ", ") + std::string(conditionName(condition));
    }
    return list;
}

uint16_t parsePort(const std::string &text) {
    const std::optional<uint64_t> port = decimalValue(text);
    if (!port || *port > 65535) throw UsageError("bad port \"" + text + "\"");
    return static_cast<uint16_t>(*port);
}

void parseTcp(const std::string &value, Options &options) {
    const size_t colon = value.rfind(':');
    if (colon == std::string::npos || colon == 0) throw UsageError("--tcp needs HOST:PORT, such as 127.0.0.1:0");
    options.transport = Options::Transport::Tcp;
    options.host = value.substr(0, colon);
    options.port = parsePort(value.substr(colon + 1));
    try {
        loopbackAddress(options.host, options.port);
    } catch (const EmulatorError &error) {
        throw UsageError(error.what());
    }
}

// Checks what the printer would refuse, so that it counts as bad usage.
void validate(const Options &options) {
    const std::unique_ptr<Language> language = makeLanguage(options.language);
    if (!language) throw UsageError("unknown language \"" + options.language + "\"");
    for (Condition condition : options.state.conditions())
        if (!language->canReport(condition))
            throw UsageError(options.language + " printers cannot report " + std::string(conditionName(condition)) +
                             "; they report: " + conditionsOf(*language));
    if (options.transport == Options::Transport::Pty &&
        (options.fault.kind == Fault::Kind::Refuse || options.fault.kind == Fault::Kind::DropAfter))
        throw UsageError("the fault " + options.fault.name() + " needs --tcp");
}

}  // namespace

uint64_t parseByteCount(const std::string &text) {
    std::string digits = text;
    unsigned shift = 0;
    if (!digits.empty()) {
        switch (digits.back()) {
            case 'K': case 'k': shift = 10; break;
            case 'M': case 'm': shift = 20; break;
            case 'G': case 'g': shift = 30; break;
            case 'T': case 't': shift = 40; break;
            default: break;
        }
        if (shift != 0) digits.pop_back();
    }
    const std::optional<uint64_t> value = decimalValue(digits);
    if (!value || (shift != 0 && *value > (UINT64_MAX >> shift))) throw UsageError("bad byte count \"" + text + "\"");
    return *value << shift;
}

CommandLine parseCommandLine(const std::vector<std::string> &args) {
    CommandLine line;
    bool language = false, transport = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string &arg = args[i];
        auto value = [&]() -> const std::string & {
            if (i + 1 >= args.size()) throw UsageError(arg + " needs a value");
            return args[++i];
        };
        try {
            if (arg == "--help" || arg == "-h") {
                line.help = true;
                return line;
            } else if (arg == "--language") {
                line.options.language = value();
                language = true;
            } else if (arg == "--tcp") {
                if (transport) throw UsageError("give one of --tcp and --pty");
                parseTcp(value(), line.options);
                transport = true;
            } else if (arg == "--pty") {
                if (transport) throw UsageError("give one of --tcp and --pty");
                line.options.transport = Options::Transport::Pty;
                transport = true;
            } else if (arg == "--ram") {
                line.options.ramBytes = parseByteCount(value());
            } else if (arg == "--flash") {
                line.options.flashBytes = parseByteCount(value());
            } else if (arg == "--state") {
                line.options.state = PrinterState::parse(value());
            } else if (arg == "--fault") {
                line.options.fault = Fault::parse(value());
            } else if (arg == "--log") {
                line.options.logDir = value();
            } else {
                throw UsageError("unknown argument \"" + arg + "\"");
            }
        } catch (const EmulatorError &error) {
            throw UsageError(error.what());
        }
    }
    if (!language) throw UsageError("--language is missing");
    if (!transport) throw UsageError("give --tcp HOST:PORT or --pty");
    validate(line.options);
    return line;
}

std::string usageText() {
    std::string text =
        "Usage: printer-emulator --language LANGUAGE (--tcp HOST:PORT | --pty)\n"
        "                        [--ram BYTES] [--flash BYTES] [--state STATE] [--fault FAULT] [--log DIR]\n"
        "\n"
        "Plays a label printer of one command language. When ready it prints one line,\n"
        "\"listening HOST:PORT\" or \"listening /dev/pts/N\", and serves until SIGTERM or SIGINT.\n"
        "\n"
        "  --language LANGUAGE  KDXZ, KDXT, KDXA, KDXC or KDXE\n"
        "  --tcp HOST:PORT      a loopback address (127.0.0.0/8, ::1 as [::1], localhost); port 0 picks a free one\n"
        "  --pty                a pseudo-terminal in raw mode instead\n"
        "  --ram BYTES          RAM capacity (default 8M); suffixes K, M, G, T are powers of 1024\n"
        "  --flash BYTES        FLASH capacity (default 64M)\n"
        "  --state STATE        ready (default), a condition, or conditions joined with \"+\"\n"
        "  --fault FAULT        how the printer misbehaves (default none)\n"
        "  --log DIR            save every received stream as DIR/0001.bin, 0002.bin, ... (one per connection)\n"
        "  --help               this text\n"
        "\n"
        "Conditions each language reports:\n";
    for (const std::string &name : supportedLanguages()) text += "  " + name + ": " + conditionsOf(*makeLanguage(name)) + "\n";
    text +=
        "\n"
        "Faults:\n"
        "  none                 a well-behaved printer\n"
        "  no-answer            receives and applies everything, never replies\n"
        "  slow=DELAY           waits DELAY before each reply (300ms, 2s; a bare number is milliseconds)\n"
        "  drop-after=N         resets the connection once N bytes have been received (TCP only)\n"
        "  babble               sends bytes without end as soon as a client connects\n"
        "  babble=after-query   answers the first query, then keeps sending\n"
        "  long-reply[=N]       pads every reply to at least N bytes (default 2048)\n"
        "  refuse               refuses connections: the port is bound but not listening (TCP only)\n"
        "\n"
        "Exit status: 0 after SIGTERM or SIGINT, 1 when the transport cannot be opened, 2 for bad usage.\n";
    return text;
}

}  // namespace emulator
