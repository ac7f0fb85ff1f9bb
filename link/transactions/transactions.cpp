#include "transactions.h"

#include <array>
#include <atomic>
#include <cstring>
#include <thread>

#include "language_module.h"
#include "link/communication/communication.h"

namespace printer_link {

LinkStatus &LinkStatus::current() {
    static LinkStatus status;
    return status;
}

DownloadJob &DownloadJob::pending() {
    static DownloadJob job;
    return job;
}

namespace {

void closeQuietly(CCommunicationProtocol *protocol) {
    try {
        if (protocol) protocol->Close();
    } catch (const CommunicationException &) {
    }
}

}  // namespace

bool TestPort(const tagPORTINFO &port) {
    CCommunicationFactory factory;
    CCommunicationProtocol *protocol = nullptr;
    try {
        protocol = factory.CreateFacory(port);
        protocol->Open(port);
        protocol->Close();
        return true;
    } catch (const CommunicationException &) {
        closeQuietly(protocol);
        return false;
    }
}

std::optional<std::string> QueryTransaction(const tagPORTINFO &port, const uint8_t *command, std::size_t length) {
    CCommunicationFactory factory;
    CCommunicationProtocol *protocol = nullptr;
    try {
        protocol = factory.CreateFacory(port);
        protocol->Open(port);
        protocol->SetTimeouts(kQueryTimeout, kQueryTimeout);

        // Stale bytes from an earlier exchange would be taken for the reply. A printer that
        // never stops sending is not drained forever: the reply check below then fails it.
        std::array<unsigned char, kReadChunk> chunk{};
        std::size_t count = 0;
        for (int i = 0; i < kDrainReads; ++i) {
            protocol->Read(chunk.data(), chunk.size(), count);
            if (count == 0) break;
        }

        std::size_t written = 0;
        protocol->Write(command, length, written);
        if (written == 0) return std::nullopt;

        std::string reply;
        for (int empty = 0; empty < 3;) {
            chunk.fill(0);
            protocol->Read(chunk.data(), chunk.size(), count);
            if (count == 0) {
                ++empty;
                continue;
            }
            empty = 0;
            if (reply.size() + count > kReplyCapacity) return std::nullopt;
            reply.append(reinterpret_cast<const char *>(chunk.data()), count);
        }
        protocol->Close();
        return reply;
    } catch (const CommunicationException &) {
        closeQuietly(protocol);
        return std::nullopt;
    }
}

bool SendTransaction(const tagPORTINFO &port, const uint8_t *command, std::size_t length,
                     const std::function<void()> &beforeWrite) {
    tagPORTINFO sendPort = port;
    if (sendPort.PortType == kSpoolerPrinter) sendPort.PortType = kSpoolerSendOnly;
    CCommunicationFactory factory;
    CCommunicationProtocol *protocol = nullptr;
    try {
        protocol = factory.CreateFacory(sendPort);
        protocol->Open(sendPort);
        protocol->SetTimeouts(kSendTimeout, kSendTimeout);
        if (beforeWrite) beforeWrite();
        std::size_t written = 0;
        protocol->Write(command, length, written);
        if (written == 0) return false;
        protocol->Close();
        return true;
    } catch (const CommunicationException &) {
        closeQuietly(protocol);
        return false;
    }
}

std::optional<int64_t> QueryModuleMemory(const tagPORTINFO &port, const kdx::LanguageModule *module,
                                         const std::string &memoryType) {
    if ((memoryType != "RAM" && memoryType != "FLASH") || !module) return std::nullopt;
    auto command = module->procedure<GetModuleMemCmdFn>("GetModuleMemCmd");
    auto parse = module->procedure<GetModuleMemLenFn>("GetModuleMemLen");
    if (!command || !parse) return std::nullopt;
    const uint8_t selector = memoryType == "RAM" ? 0 : 1;
    std::vector<uint8_t> buffer(KDX_COMMAND_CAPACITY, 0);
    int32_t length = 0;
    if (!command(selector, buffer.data(), &length) || length < 0) return std::nullopt;
    std::optional<std::string> reply = QueryTransaction(port, buffer.data(), std::size_t(length));
    if (!reply) return std::nullopt;
    int64_t freeBytes = 0;
    if (!parse(selector, reply->c_str(), &freeBytes)) return std::nullopt;
    return freeBytes;
}

void RunDownloadWorker(const tagPORTINFO &port, const kdx::LanguageModule *module, const std::string &memoryType,
                       DownloadJob &job, LinkStatus &status) {
    status.Busy = 1;
    const std::optional<int64_t> freeBytes = QueryModuleMemory(port, module, memoryType);
    if (!freeBytes) {
        status.Done = 1;
        return;
    }
    if (*freeBytes < int64_t(job.CommandBuffer.size())) {
        status.Busy = 0;
        status.Done = 1;
        return;
    }
    const bool sent = SendTransaction(port, job.CommandBuffer.data(), job.CommandBuffer.size(),
                                      [&status] { status.SendStarted = 1; });
    if (sent) {
        job.clear();
        status.Succeeded = 1;
    }
    status.Done = 1;
}

void RunTransfer(const tagPORTINFO &port, const kdx::LanguageModule *module, const std::string &memoryType,
                 DownloadJob &job, LinkStatus &status, LinkUi &ui, TransferTiming timing) {
    status.SendStarted = 0;
    status.Done = 0;
    status.Succeeded = 0;
    int counter = 0;
    ui.showProgress(0);
    // The job belongs to the worker until it sets Done; this thread only watches the flags.
    std::thread worker([&] { RunDownloadWorker(port, module, memoryType, job, status); });
    while (!status.Done) {
        std::this_thread::sleep_for(timing.tick);
        if (counter < (status.SendStarted ? 90 : 10)) ui.showProgress(++counter);
    }
    worker.join();
    if (status.SendStarted) {
        for (int percent = 90; percent <= 100; ++percent) {
            ui.showProgress(percent);
            if (percent < 100) std::this_thread::sleep_for(timing.finishStep);
        }
    }
}

bool DownloadPendingJob(const tagPORTINFO &port, const kdx::LanguageModule *module, const std::string &memoryType,
                        DownloadJob &job, LinkStatus &status, LinkUi &ui, TransferTiming timing) {
    if (job.CommandBuffer.empty()) return false;
    if (job.WorkflowTag == "True Type Font" && !ui.confirmDownload()) return true;
    RunTransfer(port, module, memoryType, job, status, ui, timing);
    bool result = false;
    if (status.Succeeded) {
        int message = 0;
        if (job.WorkflowTag == "True Type Font") message = kMessageTrueTypeSent;
        else if (job.WorkflowTag == "Bitmap Font" || job.WorkflowTag == "DotMatrixFontMake")
            message = kMessageBitmapFontSent;
        else if (job.WorkflowTag == "Graphic") message = kMessageGraphicSent;
        else if (job.WorkflowTag == "Data File") message = kMessageDataFileSent;
        if (message) ui.showMessage(message, MessageKind::Information);
        result = true;
    } else {
        ui.showMessage(status.Busy ? kMessageDownloadFailed : kMessageNotEnoughMemory, MessageKind::Error);
    }
    job.clear();
    return result;
}

std::vector<std::string> SplitAddresses(const char *reply, std::size_t capacity) {
    std::vector<std::string> addresses;
    const std::string text(reply, strnlen(reply, capacity));
    std::size_t start = 0;
    for (std::size_t at = text.find('@'); at != std::string::npos; at = text.find('@', start)) {
        addresses.push_back(text.substr(start, at - start));
        start = at + 1;
    }
    return addresses;
}

std::vector<std::string> SearchNetworkPrinters(const tagPORTINFO &port, int ipVersion, LinkStatus &status) {
    tagPORTINFO searchPort = port;
    searchPort.PortType = kNetworkPrinter;
    std::vector<std::string> addresses;
    try {
        CCommunicationFactory factory;
        CCommunicationProtocol *protocol = factory.CreateFacory(searchPort);
        std::array<char, 1024> buffer{};
        const int found = protocol->GetPrinterIP(buffer.data(), buffer.size(), ipVersion);
        if (found == 0) {
            status.NetFound = 0;
        } else {
            addresses = SplitAddresses(buffer.data(), buffer.size());
            status.NetFound = 1;
        }
    } catch (const CommunicationException &) {
        status.NetFound = 0;
    }
    status.Done = 1;
    return addresses;
}

}  // namespace printer_link
