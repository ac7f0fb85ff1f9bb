// Fault names on the command line: "slow=300ms", "drop-after=100", "babble=after-query", ...
#include <charconv>

#include "printer_emulator.h"

namespace emulator {
namespace {

constexpr uint64_t kDefaultLongReply = 2048;

std::optional<uint64_t> number(std::string_view text) {
    uint64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
    return value;
}

// "300", "300ms" or "2s".
std::optional<std::chrono::milliseconds> duration(std::string_view text) {
    uint64_t scale = 1;
    if (text.ends_with("ms")) {
        text.remove_suffix(2);
    } else if (text.ends_with("s")) {
        text.remove_suffix(1);
        scale = 1000;
    }
    const std::optional<uint64_t> value = number(text);
    if (!value || *value > 3'600'000 / scale) return std::nullopt;
    return std::chrono::milliseconds(*value * scale);
}

[[noreturn]] void bad(std::string_view text, std::string_view why) {
    throw EmulatorError("bad fault \"" + std::string(text) + "\": " + std::string(why));
}

}  // namespace

Fault Fault::parse(std::string_view text) {
    const size_t equals = text.find('=');
    const std::string_view name = text.substr(0, equals);
    const std::optional<std::string_view> value =
        equals == std::string_view::npos ? std::nullopt : std::optional(text.substr(equals + 1));
    Fault fault;
    if (name == "none" || name == "no-answer" || name == "refuse") {
        if (value) bad(text, "takes no parameter");
        fault.kind = name == "none" ? Kind::None : name == "no-answer" ? Kind::NoAnswer : Kind::Refuse;
    } else if (name == "slow") {
        const auto delay = value ? duration(*value) : std::nullopt;
        if (!delay) bad(text, "needs a delay such as slow=300ms");
        fault.kind = Kind::Slow;
        fault.delay = *delay;
    } else if (name == "drop-after") {
        const auto bytes = value ? number(*value) : std::nullopt;
        if (!bytes) bad(text, "needs a byte count such as drop-after=100");
        fault.kind = Kind::DropAfter;
        fault.bytes = *bytes;
    } else if (name == "babble") {
        if (value && *value != "after-query") bad(text, "the only parameter is after-query");
        fault.kind = value ? Kind::BabbleAfterQuery : Kind::Babble;
    } else if (name == "long-reply") {
        const auto bytes = value ? number(*value) : std::optional<uint64_t>(kDefaultLongReply);
        if (!bytes || *bytes > (uint64_t(1) << 24)) bad(text, "needs a length such as long-reply=2048");
        fault.kind = Kind::LongReply;
        fault.bytes = *bytes;
    } else {
        bad(text, "unknown fault");
    }
    return fault;
}

std::string Fault::name() const {
    switch (kind) {
        case Kind::None: return "none";
        case Kind::NoAnswer: return "no-answer";
        case Kind::Slow: return "slow=" + std::to_string(delay.count()) + "ms";
        case Kind::DropAfter: return "drop-after=" + std::to_string(bytes);
        case Kind::Babble: return "babble";
        case Kind::BabbleAfterQuery: return "babble=after-query";
        case Kind::LongReply: return "long-reply=" + std::to_string(bytes);
        case Kind::Refuse: return "refuse";
    }
    return "none";
}

}  // namespace emulator
