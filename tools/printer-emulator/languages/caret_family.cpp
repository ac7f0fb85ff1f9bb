#include "caret_family.h"

#include <algorithm>
#include <cctype>

#include "../byte_text.h"
#include "../payload_codecs.h"

namespace emulator::caret {
namespace {

constexpr size_t kLongestHeader = 1024;

// The header of a download: the fields between the three command letters and the data,
// each ended by ",". Waits until all `count` commas have arrived.
struct Header {
    std::vector<std::string_view> fields;
    size_t end = 0;  // where the data starts
};
enum class HeaderStatus { Ready, Wait, Broken };

HeaderStatus readHeader(std::string_view input, size_t count, Header &header) {
    size_t at = 3;
    header.fields.clear();
    while (header.fields.size() < count) {
        const size_t comma = input.find(',', at);
        if (comma == std::string_view::npos || comma > kLongestHeader)
            return input.size() > kLongestHeader ? HeaderStatus::Broken : HeaderStatus::Wait;
        header.fields.push_back(input.substr(at, comma - at));
        at = comma + 1;
    }
    header.end = at;
    return HeaderStatus::Ready;
}

std::string nameWithExtension(std::string_view name, std::string_view extension) {
    if (name.find('.') != std::string_view::npos) return std::string(name);
    return std::string(name) + "." + std::string(extension);
}

// What a "~DY" download holds, told by its format and extension letters.
struct DyKind {
    ObjectKind kind;
    std::string_view extension;
    std::string_view format;
};
std::optional<DyKind> dyKind(std::string_view format, std::string_view extension) {
    if (extension == "T") {
        if (format == "b") return DyKind{ObjectKind::TrueTypeFont, "TTF", ""};
        if (format == "B") return DyKind{ObjectKind::BitmapFont, "TTF", ""};
        return std::nullopt;
    }
    if (extension == "B") return DyKind{ObjectKind::Graphic, "BMP", "BMP"};
    if (extension == "X") return DyKind{ObjectKind::Graphic, "PCX", "PCX"};
    if (extension == "P") return DyKind{ObjectKind::Graphic, "PNG", "PNG"};
    if (extension == "G") return DyKind{ObjectKind::Graphic, "GRF", "GRF"};
    return std::nullopt;
}

Parsed rejectHeader(Device &device, std::string name, std::string reason, size_t headerEnd, uint64_t skip = 0) {
    device.reject(std::move(name), std::move(reason));
    return Parsed::took(headerEnd, skip);
}

// ":B64:" Base64 text, then ":" and a CRC of up to four hexadecimal digits.
Parsed base64Download(std::string_view input, size_t start, bool endOfStream, Device &device, Memory memory,
                      StoredObject object, uint64_t announced) {
    size_t at = start + 5;
    while (at < input.size() && (isBase64Char(input[at]) || input[at] == CR || input[at] == LF)) ++at;
    if (at == input.size() && !endOfStream) return Parsed::wait(input.size() + 1);
    const size_t textEnd = at;
    if (at < input.size() && input[at] == ':') {
        size_t digits = 0;
        while (at + 1 + digits < input.size() && digits < 4 && std::isxdigit(static_cast<unsigned char>(input[at + 1 + digits])))
            ++digits;
        if (digits < 4 && at + 1 + digits == input.size() && !endOfStream) return Parsed::wait(input.size() + 1);
        at += 1 + digits;
    }
    const std::optional<std::string> bytes = decodeBase64(input.substr(start + 5, textEnd - start - 5));
    if (!bytes) return rejectHeader(device, object.name, "the Base64 text does not decode", at);
    if (bytes->size() != announced)
        return rejectHeader(device, object.name,
                            "the Base64 text holds " + std::to_string(bytes->size()) + " bytes, the header announces " +
                                std::to_string(announced),
                            at);
    object.data = *bytes;
    device.store(memory, std::move(object));
    return Parsed::took(at);
}

Parsed dyDownload(std::string_view input, bool endOfStream, Device &device) {
    Header header;
    const HeaderStatus status = readHeader(input, 5, header);
    if (status == HeaderStatus::Wait) return Parsed::wait(input.size() + 1);
    if (status == HeaderStatus::Broken) return noise(input);
    const DrivePath path = splitDrive(header.fields[0]);
    const std::optional<DyKind> kind = dyKind(header.fields[1], header.fields[2]);
    const std::optional<uint64_t> size = decimalValue(header.fields[3]);
    const std::string name = kind ? nameWithExtension(path.name, kind->extension) : std::string(path.name);
    if (!kind) return rejectHeader(device, name, "unknown object type in the download header", header.end);
    if (!size) return rejectHeader(device, name, "the download header has no size", header.end);
    if (path.name.empty()) return rejectHeader(device, name, "the download has no name", header.end, *size);
    if (!path.memory) return rejectHeader(device, name, "there is no drive " + std::string(1, path.drive) + ":", header.end, *size);

    // PNG graphics may come as Base64 text behind ":B64:"; the size is then the decoded one.
    constexpr std::string_view kBase64 = ":B64:";
    if (header.fields[1] == "P" && input.size() < header.end + kBase64.size() && !endOfStream)
        return Parsed::wait(header.end + kBase64.size());
    const bool base64 = input.substr(header.end).starts_with(kBase64);
    StoredObject object{name, kind->kind, std::string(kind->format), {}};
    if (*size > device.room(*path.memory, name, kind->kind))
        return rejectHeader(device, name, "it does not fit in " + std::string(memoryName(*path.memory)), header.end,
                            base64 ? 0 : *size);
    if (base64) return base64Download(input, header.end, endOfStream, device, *path.memory, std::move(object), *size);
    if (input.size() - header.end < *size) return Parsed::wait(header.end + *size);
    object.data = std::string(input.substr(header.end, *size));
    if (object.kind == ObjectKind::BitmapFont) {
        if (const auto problem = indexedFontProblem(object.data))
            return rejectHeader(device, name, *problem, header.end + *size);
    }
    device.store(*path.memory, std::move(object));
    return Parsed::took(header.end + *size);
}

Parsed dgDownload(std::string_view input, bool endOfStream, Device &device) {
    Header header;
    const HeaderStatus status = readHeader(input, 3, header);
    if (status == HeaderStatus::Wait) return Parsed::wait(input.size() + 1);
    if (status == HeaderStatus::Broken) return noise(input);
    const DrivePath path = splitDrive(header.fields[0]);
    const std::string name = nameWithExtension(path.name, "GRF");
    const std::optional<uint64_t> total = decimalValue(header.fields[1]);
    const std::optional<uint64_t> rowBytes = decimalValue(header.fields[2]);
    // A rejected graphic's data is skipped as noise up to the next command.
    if (!total || !rowBytes) return rejectHeader(device, name, "the graphic header has no size", header.end);
    if (path.name.empty()) return rejectHeader(device, name, "the graphic has no name", header.end);
    if (!path.memory) return rejectHeader(device, name, "there is no drive " + std::string(1, path.drive) + ":", header.end);
    if (*total > device.room(*path.memory, name, ObjectKind::Graphic))
        return rejectHeader(device, name, "it does not fit in " + std::string(memoryName(*path.memory)), header.end);

    GrfDecoding rows = decodeGrf(input.substr(header.end), *total, *rowBytes, endOfStream);
    switch (rows.status) {
        case GrfDecoding::Status::NeedMore: return Parsed::wait(input.size() + 1);
        case GrfDecoding::Status::Bad: return rejectHeader(device, name, rows.problem, header.end);
        case GrfDecoding::Status::Complete: break;
    }
    device.store(*path.memory, StoredObject{name, ObjectKind::Graphic, "GRF", std::move(rows.rows)});
    return Parsed::took(header.end + rows.consumed);
}

// A data file: its size, then twice as many hexadecimal digits.
Parsed deDownload(std::string_view input, Device &device) {
    Header header;
    const HeaderStatus status = readHeader(input, 2, header);
    if (status == HeaderStatus::Wait) return Parsed::wait(input.size() + 1);
    if (status == HeaderStatus::Broken) return noise(input);
    const DrivePath path = splitDrive(header.fields[0]);
    const std::string name = nameWithExtension(path.name, "DAT");
    const std::optional<uint64_t> size = decimalValue(header.fields[1]);
    if (!size || *size > (uint64_t(1) << 40)) return rejectHeader(device, name, "the data file header has no size", header.end);
    const uint64_t digits = *size * 2;
    if (path.name.empty()) return rejectHeader(device, name, "the data file has no name", header.end, digits);
    if (!path.memory) return rejectHeader(device, name, "there is no drive " + std::string(1, path.drive) + ":", header.end, digits);
    if (*size > device.room(*path.memory, name, ObjectKind::DataFile))
        return rejectHeader(device, name, "it does not fit in " + std::string(memoryName(*path.memory)), header.end, digits);
    if (input.size() - header.end < digits) return Parsed::wait(header.end + digits);
    std::optional<std::string> bytes = decodeHex(input.substr(header.end, digits));
    if (!bytes) return rejectHeader(device, name, "the data file is not hexadecimal text", header.end + digits);
    device.store(*path.memory, StoredObject{name, ObjectKind::DataFile, "", std::move(*bytes)});
    return Parsed::took(header.end + digits);
}

}  // namespace

std::optional<Memory> driveMemory(char letter) {
    switch (letter) {
        case 'R': return Memory::Ram;
        case 'E': return Memory::Flash;
        default: return std::nullopt;
    }
}

DrivePath splitDrive(std::string_view path) {
    if (path.size() >= 2 && path[1] == ':') {
        const char drive = static_cast<char>(std::toupper(static_cast<unsigned char>(path[0])));
        return DrivePath{driveMemory(drive), drive, path.substr(2)};
    }
    return DrivePath{Memory::Ram, 'R', path};
}

std::optional<Parsed> download(std::string_view input, bool endOfStream, Device &device) {
    if (matchAt(input, "~D") == Match::Partial || input == "~D") return Parsed::wait(3);
    if (input.starts_with("~DY")) return dyDownload(input, endOfStream, device);
    if (input.starts_with("~DG")) return dgDownload(input, endOfStream, device);
    if (input.starts_with("~DE")) return deDownload(input, device);
    return std::nullopt;
}

std::optional<LabelFormat> labelFormat(std::string_view input) {
    const Match start = matchAt(input, "^XA");
    if (start == Match::Partial) return LabelFormat{Parsed::wait(3), {}};
    if (start == Match::No) return std::nullopt;
    const size_t end = input.find("^XZ", 3);
    if (end == std::string_view::npos) return LabelFormat{Parsed::wait(input.size() + 1), {}};
    return LabelFormat{Parsed::took(end + 3), input.substr(0, end + 3)};
}

std::vector<Command> commands(std::string_view block) {
    std::vector<Command> list;
    size_t at = block.find('^');
    while (at != std::string_view::npos) {
        const size_t next = block.find('^', at + 1);
        const std::string_view text = block.substr(at + 1, next == std::string_view::npos ? std::string_view::npos : next - at - 1);
        std::string code(text.substr(0, 2));
        std::transform(code.begin(), code.end(), code.begin(), [](char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); });
        list.push_back(Command{std::move(code), text.substr(std::min<size_t>(2, text.size()))});
        at = next;
    }
    return list;
}

std::string directoryReply(std::string_view path, const Device &device, std::string_view dash) {
    path = trimmed(path);
    const DrivePath where = splitDrive(path);
    const std::string_view pattern = where.name.empty() ? std::string_view("*") : where.name;
    std::string reply = "\r\n- DIR " + std::string(path) + "\r\n";
    uint64_t free = 0;
    if (where.memory) {
        for (const ListedObject &object : device.list(*where.memory)) {
            if (!wildcardMatch(pattern, object.name)) continue;
            reply += "* " + std::string(1, where.drive) + ":" + object.name;
            reply += std::string(object.name.size() < 13 ? 16 - object.name.size() : 3, ' ');
            reply += std::to_string(object.size) + "\r\n";
        }
        free = device.freeBytes(*where.memory);
    }
    reply += "-" + std::string(dash) + std::to_string(free) + " bytes free\r\n";
    return reply;
}

Parsed noise(std::string_view input) {
    const size_t next = input.find_first_of("^~", 1);
    return Parsed::took(next == std::string_view::npos ? input.size() : next);
}

}  // namespace emulator::caret
