#include "profile_store.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <mutex>
#include <sstream>
#include <vector>

namespace platform {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kBlanks = " \t";

std::string_view trimmed(std::string_view text) {
    size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) return {};
    size_t last = text.find_last_not_of(kBlanks);
    return text.substr(first, last - first + 1);
}

char asciiLower(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

bool sameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (asciiLower(a[i]) != asciiLower(b[i])) return false;
    return true;
}

// One line of the file as it was read, terminator included, so untouched lines are written
// back exactly.
struct Line {
    std::string raw;

    std::string_view body() const {
        std::string_view text = raw;
        if (!text.empty() && text.back() == '\n') text.remove_suffix(1);
        if (!text.empty() && text.back() == '\r') text.remove_suffix(1);
        return text;
    }
    bool hasTerminator() const { return !raw.empty() && raw.back() == '\n'; }
};

struct ParsedLine {
    enum Kind { Other, Section, Entry } kind = Other;
    std::string_view name;   // section name or key
    std::string_view value;  // entry value, white space and quotes removed
};

ParsedLine parse(std::string_view body) {
    if (body.substr(0, kUtf8Bom.size()) == kUtf8Bom) body.remove_prefix(kUtf8Bom.size());
    std::string_view text = trimmed(body);
    if (text.empty() || text.front() == ';' || text.front() == '#') return {};
    if (text.front() == '[') {
        size_t close = text.find(']');
        if (close == std::string_view::npos) return {};
        return {ParsedLine::Section, trimmed(text.substr(1, close - 1)), {}};
    }
    size_t equals = text.find('=');
    if (equals == std::string_view::npos) return {};
    std::string_view value = trimmed(text.substr(equals + 1));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return {ParsedLine::Entry, trimmed(text.substr(0, equals)), value};
}

// The file's lines; nothing when the file exists but cannot be read.
std::optional<std::vector<Line>> loadLines(const std::filesystem::path &file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        std::error_code error;
        if (!std::filesystem::exists(file, error) && !error) return std::vector<Line>{};
        return std::nullopt;
    }
    std::ostringstream content;
    content << in.rdbuf();
    if (in.bad()) return std::nullopt;
    std::vector<Line> lines;
    const std::string text = content.str();
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        end = end == std::string::npos ? text.size() : end + 1;
        lines.push_back({text.substr(start, end - start)});
        start = end;
    }
    return lines;
}

bool validName(std::string_view name, std::string_view forbidden) {
    return !trimmed(name).empty() && name.find_first_of(forbidden) == std::string_view::npos;
}

bool writeAll(int fd, std::string_view data) {
    while (!data.empty()) {
        ssize_t n = ::write(fd, data.data(), data.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data.remove_prefix(size_t(n));
    }
    return true;
}

// Writes the text to a temporary file beside the target and renames it over the target.
bool replaceFile(const std::filesystem::path &file, std::string_view text) {
    std::string pattern = (file.parent_path() / ("." + file.filename().string() + ".XXXXXX")).string();
    int fd = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (fd < 0) return false;
    struct stat old {};
    mode_t mode = ::stat(file.c_str(), &old) == 0 ? (old.st_mode & 07777) : 0644;
    bool ok = ::fchmod(fd, mode) == 0 && writeAll(fd, text) && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    if (ok) ok = ::rename(pattern.c_str(), file.c_str()) == 0;
    if (!ok) {
        ::unlink(pattern.c_str());
        return false;
    }
    // Make the rename itself durable; failing here does not undo a finished replacement.
    std::filesystem::path folder = file.parent_path().empty() ? "." : file.parent_path();
    if (int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return true;
}

std::mutex &writeMutex() {
    static std::mutex mutex;
    return mutex;
}

}  // namespace

ProfileStore::ProfileStore(std::filesystem::path file) : file_(std::move(file)) {}

std::optional<std::string> ProfileStore::find(std::string_view section,
                                              std::string_view key) const {
    std::optional<std::vector<Line>> lines = loadLines(file_);
    if (!lines) return std::nullopt;
    section = trimmed(section);
    key = trimmed(key);
    bool inSection = false;
    bool seenSection = false;
    for (const Line &line : *lines) {
        ParsedLine parsed = parse(line.body());
        if (parsed.kind == ParsedLine::Section) {
            // Only the first section of a name counts, as with the classic profile functions.
            if (inSection) return std::nullopt;
            inSection = !seenSection && sameName(parsed.name, section);
            seenSection = seenSection || inSection;
        } else if (inSection && parsed.kind == ParsedLine::Entry && sameName(parsed.name, key)) {
            return std::string(parsed.value);
        }
    }
    return std::nullopt;
}

std::string ProfileStore::read(std::string_view section, std::string_view key,
                               std::string_view fallback) const {
    std::optional<std::string> value = find(section, key);
    return value ? *value : std::string(fallback);
}

bool ProfileStore::write(std::string_view section, std::string_view key, std::string_view value) {
    if (!validName(section, "\r\n]") || !validName(key, "\r\n=") ||
        value.find_first_of("\r\n") != std::string_view::npos)
        return false;
    section = trimmed(section);
    key = trimmed(key);

    std::lock_guard<std::mutex> lock(writeMutex());
    std::optional<std::vector<Line>> loaded = loadLines(file_);
    if (!loaded) return false;
    std::vector<Line> &lines = *loaded;
    bool crlf = !lines.empty() && lines.front().raw.size() >= 2 &&
                lines.front().raw.compare(lines.front().raw.size() - 2, 2, "\r\n") == 0;
    const std::string newline = crlf ? "\r\n" : "\n";

    // Locate the first section of that name, its matching key and its last entry.
    std::optional<size_t> header, match, lastEntry;
    for (size_t i = 0; i < lines.size(); ++i) {
        ParsedLine parsed = parse(lines[i].body());
        if (parsed.kind == ParsedLine::Section) {
            if (header) break;
            if (sameName(parsed.name, section)) header = lastEntry = i;
        } else if (header && parsed.kind == ParsedLine::Entry) {
            lastEntry = i;
            if (!match && sameName(parsed.name, key)) match = i;
        }
    }

    auto entryLine = [&](std::string_view name) { return std::string(name) + "=" + std::string(value); };
    if (match) {
        Line &line = lines[*match];
        std::string_view body = line.body();
        std::string terminator = line.raw.substr(body.size());
        ParsedLine parsed = parse(body);
        size_t indent = size_t(parsed.name.data() - body.data());
        line.raw = std::string(body.substr(0, indent)) + entryLine(parsed.name) + terminator;
    } else if (header) {
        size_t at = *lastEntry;
        if (!lines[at].hasTerminator()) lines[at].raw += newline;
        lines.insert(lines.begin() + long(at + 1), Line{entryLine(key) + newline});
    } else {
        if (!lines.empty() && !lines.back().hasTerminator()) lines.back().raw += newline;
        lines.push_back({"[" + std::string(section) + "]" + newline});
        lines.push_back({entryLine(key) + newline});
    }

    std::string text;
    for (const Line &line : lines) text += line.raw;
    return replaceFile(file_, text);
}

}  // namespace platform
