// The printer-emulator program as scripts use it: started with arguments, it prints its
// "listening" line, serves, and ends cleanly on SIGTERM or SIGINT; bad usage ends with 2.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "emulator_client.h"
#include "module_client.h"
#include "status_decoding.h"

extern char **environ;

namespace emulator_test {
namespace {

// The program running with its standard output and error on pipes.
class Program {
public:
    explicit Program(const std::vector<std::string> &args) {
        int out[2], err[2];
        if (::pipe2(out, O_CLOEXEC) != 0 || ::pipe2(err, O_CLOEXEC) != 0) throw std::runtime_error("pipe");
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], 1);
        posix_spawn_file_actions_adddup2(&actions, err[1], 2);
        std::vector<std::string> all = {EMULATOR_PROGRAM};
        all.insert(all.end(), args.begin(), args.end());
        std::vector<char *> argv;
        for (std::string &arg : all) argv.push_back(arg.data());
        argv.push_back(nullptr);
        const int error = posix_spawn(&pid_, EMULATOR_PROGRAM, &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        ::close(out[1]);
        ::close(err[1]);
        out_ = Fd(out[0]);
        err_ = Fd(err[0]);
        if (error != 0) throw std::runtime_error("cannot start " EMULATOR_PROGRAM);
    }

    ~Program() {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
    }

    // The first line of standard output, or empty when none comes in time.
    std::string firstLine(std::chrono::milliseconds wait = 10s) {
        std::string line;
        const auto deadline = std::chrono::steady_clock::now() + wait;
        char c = 0;
        while (std::chrono::steady_clock::now() < deadline) {
            pollfd entry{out_.get(), POLLIN, 0};
            if (::poll(&entry, 1, 100) <= 0) continue;
            if (::read(out_.get(), &c, 1) != 1) break;
            if (c == '\n') return line;
            line.push_back(c);
        }
        return line;
    }

    // Waits for the end; the exit status, or -1 when it did not end normally in time.
    int wait(std::chrono::milliseconds limit = 10s) {
        const auto deadline = std::chrono::steady_clock::now() + limit;
        int status = 0;
        while (std::chrono::steady_clock::now() < deadline) {
            const pid_t done = ::waitpid(pid_, &status, WNOHANG);
            if (done == pid_) {
                pid_ = -1;
                return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            }
            ::usleep(10'000);
        }
        return -1;
    }

    int stop(int signal) {
        ::kill(pid_, signal);
        return wait();
    }

    std::string output() { return readReply(out_.get(), 2s, 50ms); }
    std::string errors() { return readReply(err_.get(), 2s, 50ms); }

private:
    pid_t pid_ = -1;
    Fd out_, err_;
};

uint16_t portOf(const std::string &line) {
    const size_t colon = line.rfind(':');
    return colon == std::string::npos ? 0 : static_cast<uint16_t>(std::stoi(line.substr(colon + 1)));
}

std::string readAll(const std::filesystem::path &file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(Program, ServesOnTcpLogsTheStreamAndEndsCleanlyOnSignals) {
    if (!moduleAvailable("KDXZ")) GTEST_SKIP() << "KDXZ is not built";
    const ModuleClient module("KDXZ");
    const std::filesystem::path log = std::filesystem::path(testing::TempDir()) / "emulator-program-log";
    for (int signal : {SIGTERM, SIGINT}) {
        std::filesystem::remove_all(log);
        Program program({"--language", "KDXZ", "--tcp", "127.0.0.1:0", "--flash", "5G", "--log", log.string()});
        const std::string line = program.firstLine();
        ASSERT_TRUE(line.starts_with("listening 127.0.0.1:")) << line << program.errors();
        const uint16_t port = portOf(line);
        ASSERT_NE(port, 0);

        const std::string command = *module.memoryQuery(1);
        TcpClient client(port);
        client.send(command);
        EXPECT_EQ(module.freeBytes(1, readReply(client.fd())), int64_t(5) << 30);
        client.shutdownWrite();
        EXPECT_TRUE(readUntilClosed(client.fd(), 5s).closed);

        EXPECT_EQ(program.stop(signal), 0) << "signal " << signal;
        EXPECT_EQ(readAll(log / "0001.bin"), command);
    }
    std::filesystem::remove_all(log);
}

TEST(Program, ServesOnAPseudoTerminalInTheGivenState) {
    Program program({"--language", "KDXA", "--pty", "--state", "paper-out"});
    const std::string line = program.firstLine();
    ASSERT_TRUE(line.starts_with("listening /dev/pts/")) << line << program.errors();
    TerminalClient terminal(line.substr(std::string("listening ").size()));
    terminal.send(statusQuery("KDXA"));
    EXPECT_EQ(decodeStatus("KDXA", readReply(terminal.fd(), 3s, 100ms)), "Paper Out");
    EXPECT_EQ(program.stop(SIGTERM), 0);
}

TEST(Program, HelpDescribesStatesAndFaults) {
    Program program({"--help"});
    EXPECT_EQ(program.wait(), 0);
    const std::string text = program.output();
    for (const char *word : {"--tcp", "--pty", "--log", "paper-out", "drop-after=N", "babble=after-query", "refuse"})
        EXPECT_NE(text.find(word), std::string::npos) << word;
}

TEST(Program, ABusyPortEndsWithStatusOne) {
    emulator::Printer holder{emulator::Options{}};
    Program program({"--language", "KDXZ", "--tcp", "127.0.0.1:" + std::to_string(holder.port())});
    EXPECT_EQ(program.wait(), 1);
    EXPECT_NE(program.errors().find("bind"), std::string::npos);
}

struct Usage {
    std::vector<std::string> args;
    std::string mention;  // a word the message must hold
};

void PrintTo(const Usage &usage, std::ostream *out) {
    for (const std::string &arg : usage.args) *out << arg << ' ';
}

class BadUsage : public ::testing::TestWithParam<Usage> {};

TEST_P(BadUsage, EndsWithStatusTwoAndSaysWhy) {
    Program program(GetParam().args);
    EXPECT_EQ(program.wait(), 2);
    EXPECT_EQ(program.output(), "") << "no listening line";
    EXPECT_NE(program.errors().find(GetParam().mention), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    Table, BadUsage,
    ::testing::Values(Usage{{"--language", "KDXZ", "--tcp", "192.0.2.1:9100"}, "loopback"},
                      Usage{{"--language", "KDXZ", "--tcp", "0.0.0.0:0"}, "loopback"},
                      Usage{{"--language", "KDXZ", "--tcp", "printer.example:0"}, "loopback"},
                      Usage{{"--language", "KDXZ", "--tcp", "127.0.0.1"}, "HOST:PORT"},
                      Usage{{"--language", "KDXZ", "--tcp", "127.0.0.1:70000"}, "port"},
                      Usage{{"--language", "KDXQ", "--tcp", "127.0.0.1:0"}, "language"},
                      Usage{{"--tcp", "127.0.0.1:0"}, "--language"},
                      Usage{{"--language", "KDXZ"}, "--tcp"},
                      Usage{{"--language", "KDXZ", "--pty", "--tcp", "127.0.0.1:0"}, "one of"},
                      Usage{{"--language", "KDXZ", "--pty", "--fault", "refuse"}, "--tcp"},
                      Usage{{"--language", "KDXZ", "--tcp", "127.0.0.1:0", "--fault", "explode"}, "fault"},
                      Usage{{"--language", "KDXA", "--tcp", "127.0.0.1:0", "--state", "head-open"}, "head-open"},
                      Usage{{"--language", "KDXZ", "--tcp", "127.0.0.1:0", "--ram", "12Q"}, "byte count"},
                      Usage{{"--language", "KDXZ", "--tcp", "127.0.0.1:0", "--flash"}, "needs a value"},
                      Usage{{"--language", "KDXZ", "--tcp", "127.0.0.1:0", "--colour"}, "unknown argument"}),
    [](const auto &info) { return "Case" + std::to_string(info.index); });

}  // namespace
}  // namespace emulator_test
