// Emulated printers and a recording user interface for the transaction tests.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "language_module.h"
#include "link/port_info.h"
#include "link/transactions/link_ui.h"
#include "printer_emulator.h"

namespace transaction_tests {

inline printer_link::tagPORTINFO netPort(uint16_t tcpPort, const std::u16string &address = u"127.0.0.1") {
    printer_link::tagPORTINFO port{};
    port.PortType = printer_link::kNetworkPrinter;
    printer_link::setFieldText(port.NetAddress, address);
    port.NetPort = tcpPort;
    return port;
}

inline printer_link::tagPORTINFO serialPort(const std::string &path) {
    printer_link::tagPORTINFO port{};
    port.PortType = printer_link::kSerialPort;
    printer_link::setFieldText(port.COMPortName, std::u16string(path.begin(), path.end()));
    port.BaudRate = 9600;
    port.DataSize = 8;
    port.FlowControl = printer_link::kNoFlow;
    return port;
}

inline std::unique_ptr<kdx::LanguageModule> loadModule(const std::string &language) {
    return std::make_unique<kdx::LanguageModule>(KDX_TEST_APP_DIR, language);
}

inline std::unique_ptr<emulator::Printer> startPrinter(const std::string &language, uint64_t flash = 64 << 20,
                                                       emulator::Fault fault = {}) {
    emulator::Options options;
    options.language = language;
    options.flashBytes = flash;
    options.fault = fault;
    return std::make_unique<emulator::Printer>(options);
}

class RecordingUi : public printer_link::LinkUi {
public:
    bool agree = true;
    int agreementsAsked = 0;
    std::vector<int> progress;
    std::vector<std::pair<int, printer_link::MessageKind>> messages;

    bool confirmDownload() override {
        ++agreementsAsked;
        return agree;
    }
    void showProgress(int percent) override { progress.push_back(percent); }
    void showMessage(int number, printer_link::MessageKind kind) override { messages.emplace_back(number, kind); }
};

}  // namespace transaction_tests
