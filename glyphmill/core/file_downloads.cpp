#include "file_downloads.h"

#include <fstream>
#include <iterator>

#include "language_module.h"
#include "text_codec.h"
#include "wide_text.h"

namespace glyphmill {

bool LoadSourceFile(const std::string &path, printer_link::DownloadJob &job) {
    job.SourceBuffer.clear();
    std::ifstream file(path, std::ios::binary);
    if (!file) return false;
    job.SourceBuffer.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    if (file.bad() || job.SourceBuffer.empty()) {
        job.SourceBuffer.clear();
        return false;
    }
    return true;
}

std::string FileTitle(const std::string &path) {
    const std::size_t slash = path.find_last_of('/');
    std::string title = slash == std::string::npos ? path : path.substr(slash + 1);
    const std::size_t dot = title.rfind('.');
    return dot == std::string::npos ? title : title.substr(0, dot);
}

bool IsValidObjectName(const std::u16string &name) {
    return !name.empty() && kdx::toAnsi(name).size() <= kMaxObjectNameBytes;
}

bool BuildTtfCommand(const kdx::LanguageModule *module, const std::u16string &name,
                     const std::string &memoryType, printer_link::DownloadJob &job) {
    auto length = module ? module->procedure<GetTtfFontLengthFn>("GetTtfFontLength") : nullptr;
    auto data = module ? module->procedure<GetTtfFontDataFn>("GetTtfFontData") : nullptr;
    bool built = false;
    if (length && data && job.SourceBuffer.size() <= INT32_MAX) {
        const auto size = static_cast<int32_t>(job.SourceBuffer.size());
        int32_t bound = 0;
        length(name.c_str(), size, &bound);
        job.CommandBuffer.assign(std::size_t(bound > 0 ? bound : 0), 0);
        int32_t written = 0;
        data(name.c_str(), memoryType == "RAM" ? 0 : 1, job.SourceBuffer.data(), size, job.CommandBuffer.data(),
             &written);
        job.CommandBuffer.resize(std::size_t(written > 0 && written <= bound ? written : 0));
        built = true;
    }
    std::vector<uint8_t>().swap(job.SourceBuffer);
    if (!built) job.CommandBuffer.clear();
    return built;
}

bool BuildDataCommand(const std::u16string &name, const std::string &memoryType, printer_link::DownloadJob &job) {
    if (job.SourceBuffer.empty()) {
        job.CommandBuffer.clear();
        return false;
    }
    std::vector<uint8_t> kept;
    kept.reserve(job.SourceBuffer.size());
    for (uint8_t byte : job.SourceBuffer)
        if (byte != 0x0D && byte != 0x0A) kept.push_back(byte);
    const std::u16string text = (memoryType == "RAM" ? u"~DER:" : u"~DEE:") + name + u".DAT," +
                                kdx::widen(std::to_string(kept.size() / 2)) + u",";
    const std::string header = kdx::toAnsi(text);
    job.CommandBuffer.assign(header.begin(), header.end());
    job.CommandBuffer.insert(job.CommandBuffer.end(), kept.begin(), kept.end());
    std::vector<uint8_t>().swap(job.SourceBuffer);
    return true;
}

}  // namespace glyphmill
