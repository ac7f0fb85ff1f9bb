// glyphmill-cli: the printer workflows of Glyphmill from a terminal or a script.
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <exception>
#include <iostream>
#include <memory>

#include "cli_arguments.h"
#include "file_downloads.h"
#include "language_module.h"
#include "link/transactions/transactions.h"
#include "platform/program_folder.h"
#include "printer_resources.h"
#include "text_codec.h"
#include "wide_text.h"

using namespace glyphmill;
using namespace glyphmill::cli;

namespace {

enum ExitCode { kDone = 0, kPrinterFailure = 1, kBadUsage = 2 };

struct Failure {
    ExitCode code;
    std::string message;
};

const char *messageText(int number) {
    switch (number) {
        case 503: return "the download failed: the printer could not be reached or did not answer";
        case 504: return "the printer does not have enough free memory for this download";
        case 800: return "bitmap font downloaded";
        case 801: return "font downloaded";
        case 802: return "graphic downloaded";
        case 803: return "data file downloaded";
        default: return "";
    }
}

// Progress and messages on the terminal. Running download-ttf is the user's agreement.
class TerminalUi : public printer_link::LinkUi {
public:
    bool confirmDownload() override { return true; }

    void showProgress(int percent) override {
        if (percent == last_) return;
        last_ = percent;
        if (isatty(STDERR_FILENO)) {
            std::fprintf(stderr, "\rsending %3d%%%s", percent, percent == 100 ? "\n" : "");
        } else if (percent == 100 || percent % 10 == 0) {
            std::fprintf(stderr, "sending %d%%\n", percent);
        }
    }

    void showMessage(int number, printer_link::MessageKind kind) override {
        if (kind == printer_link::MessageKind::Information) std::cout << messageText(number) << '\n';
        else failed_ = messageText(number);
    }

    const std::string &failure() const { return failed_; }

private:
    int last_ = -1;
    std::string failed_;
};

std::string utf8(kdx::WView text) { return kdx::toUtf8(text); }

std::string jsonString(const std::string &text) {
    std::string out = "\"";
    for (unsigned char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
            out += escaped;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

class Session {
public:
    explicit Session(const Arguments &arguments) : arguments_(arguments) {
        try {
            module_ = std::make_unique<kdx::LanguageModule>(platform::programFolder(), arguments.language);
        } catch (const std::exception &error) {
            throw Failure{kPrinterFailure, "cannot load the " + arguments.language + " module: " + error.what()};
        }
    }

    void run() {
        const std::string &command = arguments_.command;
        if (command == "memory") return memory();
        if (command == "list") return list();
        if (command == "delete") return remove();
        if (command == "format") return format();
        if (command == "test-print") return testPrint();
        if (command == "download-ttf") return downloadFile(true);
        if (command == "download-data") return downloadFile(false);
        if (command == "send") return send();
    }

private:
    const std::string &memoryType() const { return arguments_.memoryType; }

    void memory() {
        const auto freeBytes = printer_link::QueryModuleMemory(arguments_.port, module_.get(), memoryType());
        if (!freeBytes)
            throw Failure{kPrinterFailure, "the free memory of " + memoryType() + " could not be read"};
        std::cout << *freeBytes << '\n';
    }

    FileListing listing() {
        FileListing files = ListPrinterFiles(arguments_.port, module_.get(), memoryType());
        if (!files.ok) throw Failure{kPrinterFailure, "the files in " + memoryType() + " could not be listed"};
        return files;
    }

    void list() {
        const FileListing files = listing();
        if (arguments_.json) {
            std::cout << '[';
            for (std::size_t i = 0; i < files.records.size(); ++i) {
                const FileRecord &r = files.records[i];
                std::cout << (i ? "," : "") << "{\"memory\":" << jsonString(utf8(kdx::fieldOf(r.memory)))
                          << ",\"name\":" << jsonString(utf8(kdx::fieldOf(r.name)))
                          << ",\"type\":" << jsonString(utf8(kdx::fieldOf(r.type)))
                          << ",\"size\":" << jsonString(utf8(kdx::fieldOf(r.size))) << '}';
            }
            std::cout << "]\n";
            return;
        }
        for (const FileRecord &r : files.records)
            std::cout << utf8(kdx::fieldOf(r.memory)) << '\t' << utf8(kdx::fieldOf(r.name)) << '\t'
                      << utf8(kdx::fieldOf(r.type)) << '\t' << utf8(kdx::fieldOf(r.size)) << '\n';
    }

    // The listed records with these names; every name must be listed.
    std::vector<FileRecord> recordsNamed(const std::vector<std::string> &names) {
        const FileListing files = listing();
        std::vector<FileRecord> chosen;
        for (const std::string &name : names) {
            const std::u16string wanted = kdx::fromUtf8(name);
            auto found = std::find_if(files.records.begin(), files.records.end(),
                                      [&](const FileRecord &r) { return kdx::fieldOf(r.name) == wanted; });
            if (found == files.records.end())
                throw Failure{kPrinterFailure, "no file named " + name + " in " + memoryType()};
            chosen.push_back(*found);
        }
        return chosen;
    }

    void remove() {
        const std::vector<FileRecord> records = recordsNamed(arguments_.operands);
        if (!DeleteFiles(arguments_.port, module_.get(), records))
            throw Failure{kPrinterFailure, "the delete command could not be sent"};
        std::cout << "deleted " << records.size() << " file(s)\n";
    }

    void format() {
        if (!FormatStorage(arguments_.port, module_.get(), memoryType()))
            throw Failure{kPrinterFailure, "the memory could not be formatted"};
        std::cout << "formatted " << memoryType() << '\n';
    }

    void testPrint() {
        const FileRecord record = recordsNamed(arguments_.operands).front();
        if (!PrintTestFile(arguments_.port, module_.get(), record, kdx::widen(memoryType()), arguments_.testText))
            throw Failure{kPrinterFailure, "the test print could not be sent (the language may not print this file)"};
        std::cout << "test print sent\n";
    }

    void downloadFile(bool trueType) {
        const std::string &path = arguments_.operands.front();
        if (trueType && (arguments_.language == "KDXA" || arguments_.language == "KDXE"))
            throw Failure{kBadUsage, arguments_.language + " printers take no TrueType fonts"};
        if (!trueType && arguments_.language != "KDXZ")
            throw Failure{kBadUsage, "data files go to KDXZ printers only"};
        printer_link::DownloadJob &job = printer_link::DownloadJob::pending();
        job.clear();
        job.WorkflowTag = trueType ? "True Type Font" : "Data File";
        job.SourcePath = path;
        if (!LoadSourceFile(path, job)) throw Failure{kBadUsage, "cannot read " + path + " (missing or empty)"};
        const std::u16string name = kdx::fromUtf8(arguments_.name.value_or(FileTitle(path)));
        if (!IsValidObjectName(name))
            throw Failure{kBadUsage, "the name '" + kdx::toUtf8(name) + "' must hold 1 to 8 bytes"};
        const bool built = trueType ? BuildTtfCommand(module_.get(), name, memoryType(), job)
                                    : BuildDataCommand(name, memoryType(), job);
        if (!built || job.CommandBuffer.empty()) throw Failure{kPrinterFailure, "the download stream could not be built"};
        TerminalUi ui;
        if (!printer_link::DownloadPendingJob(arguments_.port, module_.get(), memoryType(), job,
                                              printer_link::LinkStatus::current(), ui))
            throw Failure{kPrinterFailure, ui.failure()};
    }

    void send() {
        const std::string &path = arguments_.operands.front();
        printer_link::DownloadJob file;
        if (!LoadSourceFile(path, file)) throw Failure{kBadUsage, "cannot read " + path + " (missing or empty)"};
        if (!printer_link::SendTransaction(arguments_.port, file.SourceBuffer.data(), file.SourceBuffer.size()))
            throw Failure{kPrinterFailure, "the file could not be sent"};
        std::cout << "sent " << file.SourceBuffer.size() << " bytes\n";
    }

    const Arguments &arguments_;
    std::unique_ptr<kdx::LanguageModule> module_;
};

}  // namespace

int main(int argc, char **argv) {
    try {
        const Arguments arguments = parseArguments(std::vector<std::string>(argv + 1, argv + argc));
        if (arguments.help) {
            std::cout << kUsage;
            return kDone;
        }
        Session session(arguments);
        session.run();
        return kDone;
    } catch (const UsageError &error) {
        std::cerr << "glyphmill-cli: " << error.message << "\n(see glyphmill-cli --help)\n";
        return kBadUsage;
    } catch (const Failure &failure) {
        std::cerr << "glyphmill-cli: " << failure.message << '\n';
        return failure.code;
    } catch (const std::exception &error) {
        std::cerr << "glyphmill-cli: " << error.what() << '\n';
        return kPrinterFailure;
    }
}
