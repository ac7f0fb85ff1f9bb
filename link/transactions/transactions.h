// The shapes of every exchange with a printer: a port test, a query that collects the reply,
// a send-only command, the free-memory query and the download step. Each one makes its own
// factory and protocol object from a copy of the port description and releases them at its end.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "download_job.h"
#include "link/port_info.h"
#include "link_status.h"
#include "link_ui.h"

namespace kdx {
class LanguageModule;
}

namespace printer_link {

constexpr std::size_t kReplyCapacity = 1024;
constexpr std::size_t kReadChunk = 1024;
constexpr int kQueryTimeout = 10;   // units of 10 ms
constexpr int kSendTimeout = 100;

// Messages of the download step.
enum DownloadMessage : int {
    kMessageBitmapFontSent = 800,
    kMessageTrueTypeSent = 801,
    kMessageGraphicSent = 802,
    kMessageDataFileSent = 803,
    kMessageDownloadFailed = 503,
    kMessageNotEnoughMemory = 504,
};

// Opens and closes the port; true when neither threw.
bool TestPort(const tagPORTINFO &port);

// Drains stale bytes (at most kDrainReads reads), writes the command and collects the reply
// until three reads in a row bring nothing. Fails when nothing could be written, when the
// reply passes kReplyCapacity bytes, or on any library exception.
constexpr int kDrainReads = 50;
std::optional<std::string> QueryTransaction(const tagPORTINFO &port, const uint8_t *command, std::size_t length);

// Writes the command; an installed printer (kind 6) is handed to the library as kind 5.
// beforeWrite runs after the port is open and set up, just before the write.
bool SendTransaction(const tagPORTINFO &port, const uint8_t *command, std::size_t length,
                     const std::function<void()> &beforeWrite = {});

// The free bytes of "RAM" or "FLASH", asked through the module's query.
std::optional<int64_t> QueryModuleMemory(const tagPORTINFO &port, const kdx::LanguageModule *module,
                                         const std::string &memoryType);

// The worker of the download step: checks the free memory, then sends the job's stream.
void RunDownloadWorker(const tagPORTINFO &port, const kdx::LanguageModule *module,
                       const std::string &memoryType, DownloadJob &job, LinkStatus &status);

// Runs the download worker on its own thread while showing a progress that passes time,
// not bytes: it creeps to 10 until the send starts, to 90 while it runs, and ends at 100.
struct TransferTiming {
    std::chrono::milliseconds tick{70};
    std::chrono::milliseconds finishStep{100};
};
void RunTransfer(const tagPORTINFO &port, const kdx::LanguageModule *module, const std::string &memoryType,
                 DownloadJob &job, LinkStatus &status, LinkUi &ui, TransferTiming timing = {});

// The download step: agreement for TrueType files, the transfer, the outcome message, and
// the job emptied. True when sent or declined.
bool DownloadPendingJob(const tagPORTINFO &port, const kdx::LanguageModule *module, const std::string &memoryType,
                        DownloadJob &job, LinkStatus &status, LinkUi &ui, TransferTiming timing = {});

// The network search: the addresses the library reports, each ended by "@" in its reply;
// text after the last "@" is dropped. NetFound is set when the library reported any.
std::vector<std::string> SearchNetworkPrinters(const tagPORTINFO &port, int ipVersion, LinkStatus &status);

// Splits a search reply at its "@" marks.
std::vector<std::string> SplitAddresses(const char *reply, std::size_t capacity);

}  // namespace printer_link
