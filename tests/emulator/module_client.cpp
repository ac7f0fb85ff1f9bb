#include "module_client.h"

#include <filesystem>
#include <stdexcept>

namespace emulator_test {
namespace {

std::optional<std::string> bytesOf(bool ok, const std::vector<uint8_t> &buffer, int32_t length) {
    if (!ok) return std::nullopt;
    return std::string(buffer.begin(), buffer.begin() + length);
}

// The reply as the host hands it to a parser: at most the reply capacity, NUL-terminated.
std::string asReply(const std::string &reply) {
    return reply.substr(0, std::min<size_t>(reply.size(), KDX_REPLY_CAPACITY));
}

}  // namespace

std::string moduleFile(const std::string &language) {
    return kdx::LanguageModule::fileFor(KDX_TEST_APP_DIR, language).string();
}

bool moduleAvailable(const std::string &language) { return std::filesystem::exists(moduleFile(language)); }

std::u16string wide(const std::string &text) { return std::u16string(text.begin(), text.end()); }

std::string narrow(const char16_t *text) {
    std::string result;
    for (; *text; ++text) result.push_back(static_cast<char>(*text));
    return result;
}

Listed listed(const FileRecord &record) {
    return {narrow(record.memory), narrow(record.name), narrow(record.type), narrow(record.size)};
}

FileRecord fileRecord(const std::string &memory, const std::string &name, const std::string &type) {
    FileRecord record{};
    auto copy = [](char16_t *field, size_t size, const std::string &text) {
        for (size_t i = 0; i + 1 < size && i < text.size(); ++i) field[i] = static_cast<char16_t>(text[i]);
    };
    copy(record.memory, std::size(record.memory), memory);
    copy(record.name, std::size(record.name), name);
    copy(record.type, std::size(record.type), type);
    return record;
}

ModuleClient::ModuleClient(const std::string &language)
    : module_(std::make_unique<kdx::LanguageModule>(KDX_TEST_APP_DIR, language)) {}

template <typename Fn>
Fn ModuleClient::bind(const char *name) const {
    const Fn procedure = module_->procedure<Fn>(name);
    if (!procedure) throw std::runtime_error(module_->name() + " lacks " + name);
    return procedure;
}

std::optional<std::string> ModuleClient::memoryQuery(uint8_t selector) const {
    std::vector<uint8_t> buffer(KDX_COMMAND_CAPACITY);
    int32_t length = 0;
    const bool ok = bind<GetModuleMemCmdFn>("GetModuleMemCmd")(selector, buffer.data(), &length);
    return bytesOf(ok, buffer, length);
}

std::optional<std::string> ModuleClient::fileQuery(uint8_t selector, uint8_t kind) const {
    std::vector<uint8_t> buffer(KDX_COMMAND_CAPACITY);
    int32_t length = 0;
    const bool ok = bind<GetFileQueryCmdFn>("GetFileQueryCmd")(selector, kind, buffer.data(), &length);
    return bytesOf(ok, buffer, length);
}

std::optional<std::string> ModuleClient::trueType(const std::string &name, uint8_t selector, const std::string &file) const {
    const std::u16string wideName = wide(name);
    int32_t bound = 0;
    bind<GetTtfFontLengthFn>("GetTtfFontLength")(wideName.c_str(), int32_t(file.size()), &bound);
    if (bound <= 0) return std::nullopt;
    std::vector<uint8_t> buffer(static_cast<size_t>(bound));
    int32_t length = 0;
    bind<GetTtfFontDataFn>("GetTtfFontData")(wideName.c_str(), selector, reinterpret_cast<const uint8_t *>(file.data()),
                                             int32_t(file.size()), buffer.data(), &length);
    return bytesOf(length > 0, buffer, length);
}

std::optional<std::string> ModuleClient::graphic(const std::string &name, const std::string &format, uint8_t selector,
                                                 const std::string &payload, int32_t imageBytes, int32_t rowBytes) const {
    const std::u16string wideName = wide(name), wideFormat = wide(format);
    int32_t bound = 0;
    bind<GetGraphicDataLengthFn>("GetGraphicDataLength")(wideName.c_str(), int32_t(payload.size()), &bound);
    std::vector<uint8_t> buffer(static_cast<size_t>(bound));
    int32_t length = 0;
    const bool ok = bind<GetGraphicDataFn>("GetGraphicData")(
        wideName.c_str(), wideFormat.c_str(), selector, reinterpret_cast<const uint8_t *>(payload.data()),
        int32_t(payload.size()), imageBytes, rowBytes, buffer.data(), &length);
    return bytesOf(ok, buffer, length);
}

std::optional<std::string> ModuleClient::bitmapFont(const SampleFont &sample, uint8_t selector) const {
    const FontSetting font{0, 0x20, 0x7e, 1, 8, 8, sample.name.c_str(), 7, selector};
    int32_t bound = 0;
    bind<GetBmpFontLengthFn>("GetBmpFontLength")(&sample.range, &font, &bound);
    std::vector<uint8_t> buffer(static_cast<size_t>(bound));
    auto widths = std::make_unique<WidthTable>();
    int32_t length = 0;
    const bool ok = bind<GetBmpFontDataFn>("GetBmpFontData")(&sample.range, &font, widths.get(), sample.glyphs.data(),
                                                           int32_t(sample.glyphs.size()), buffer.data(), &length);
    return bytesOf(ok, buffer, length);
}

std::optional<std::string> ModuleClient::deleteCommand(const std::vector<FileRecord> &records) const {
    std::vector<uint8_t> buffer(KDX_COMMAND_CAPACITY);
    int32_t length = 0;
    const bool ok = bind<GetFileDelCmdFn>("GetFileDelCmd")(records.data(), int32_t(records.size()), buffer.data(), &length);
    return bytesOf(ok, buffer, length);
}

std::optional<std::string> ModuleClient::formatCommand(const std::vector<FileRecord> &records) const {
    std::vector<uint8_t> buffer(KDX_COMMAND_CAPACITY);
    int32_t length = 0;
    const bool ok = bind<GetFileFormatCmdFn>("GetFileFormatCmd")(records.data(), int32_t(records.size()), buffer.data(), &length);
    return bytesOf(ok, buffer, length);
}

std::string ModuleClient::printCommand(const FileRecord &record, const std::string &testText) const {
    const std::u16string cmd = wide(module_->name()), mem = wide(narrow(record.memory)), x = u"10", y = u"10",
                         rotation = u"0", text = wide(testText);
    const PrintSetting setting{cmd.c_str(), mem.c_str(), x.c_str(), y.c_str(), rotation.c_str(), text.c_str()};
    std::vector<uint8_t> buffer(KDX_COMMAND_CAPACITY);
    int32_t length = 0;
    bind<GetFilePrintCmdFn>("GetFilePrintCmd")(&record, &setting, buffer.data(), &length);
    return std::string(buffer.begin(), buffer.begin() + length);
}

std::vector<std::string> ModuleClient::graphicFormats() const {
    char16_t list[KDX_FORMATS_CAPACITY] = {};
    int32_t count = 0;
    bind<GetExportImgFormFn>("GetExportImgForm")(list, &count);
    std::vector<std::string> formats;
    std::string current;
    for (const char16_t *c = list; *c && int32_t(formats.size()) < count; ++c) {
        if (*c == u';') {
            formats.push_back(current);
            current.clear();
        } else {
            current.push_back(static_cast<char>(*c));
        }
    }
    return formats;
}

std::optional<int64_t> ModuleClient::freeBytes(uint8_t selector, const std::string &reply) const {
    const std::string text = asReply(reply);
    int64_t free = -1;
    if (!bind<GetModuleMemLenFn>("GetModuleMemLen")(selector, text.c_str(), &free)) return std::nullopt;
    return free;
}

std::optional<std::vector<FileRecord>> ModuleClient::files(uint8_t selector, uint8_t kind, const std::string &reply) const {
    const std::string text = asReply(reply);
    std::vector<FileRecord> records(KDX_RECORD_CAPACITY);
    int32_t count = 0;
    if (!bind<GetFileQueryResultFn>("GetFileQueryResult")(selector, kind, text.c_str(), records.data(), &count))
        return std::nullopt;
    records.resize(size_t(count));
    return records;
}

}  // namespace emulator_test
