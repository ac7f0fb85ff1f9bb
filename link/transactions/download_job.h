// The pending download: what a workflow prepared for the download step. The job owns its
// buffers; the download step empties it when it is over, and a declined agreement leaves it
// as it was, to be replaced by the next download.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace printer_link {

struct DownloadJob {
    std::string WorkflowTag;  // "True Type Font", "Bitmap Font", "DotMatrixFontMake", "Graphic", "Data File"
    std::string SourcePath;
    std::vector<uint8_t> SourceBuffer;   // the file as the workflow loaded it
    std::vector<uint8_t> CommandBuffer;  // the complete command stream

    void clear() {
        SourcePath.clear();
        std::vector<uint8_t>().swap(SourceBuffer);
        std::vector<uint8_t>().swap(CommandBuffer);
    }

    // The job of the process.
    static DownloadJob &pending();
};

}  // namespace printer_link
