// printer-emulator: an emulated label printer on a loopback TCP port or a pseudo-terminal.
#include <pthread.h>
#include <signal.h>

#include <cstdio>
#include <iostream>

#include "command_line.h"
#include "printer_emulator.h"

int main(int argc, char **argv) {
    emulator::CommandLine line;
    try {
        line = emulator::parseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const emulator::UsageError &error) {
        std::cerr << "printer-emulator: " << error.what() << "\n(try printer-emulator --help)\n";
        return 2;
    }
    if (line.help) {
        std::cout << emulator::usageText();
        return 0;
    }

    // The signals that end the program are taken by sigwait below; the serving thread
    // inherits the mask and never sees them.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGINT);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
    signal(SIGPIPE, SIG_IGN);

    try {
        emulator::Printer printer(line.options);
        std::printf("listening %s\n", printer.address().c_str());
        std::fflush(stdout);
        int received = 0;
        sigwait(&stopSignals, &received);
        printer.stop();
    } catch (const emulator::EmulatorError &error) {
        std::cerr << "printer-emulator: " << error.what() << "\n";
        return 1;
    }
    return 0;
}
