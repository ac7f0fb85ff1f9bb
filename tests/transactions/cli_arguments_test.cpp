// The command line of glyphmill-cli.
#include <gtest/gtest.h>

#include "cli_arguments.h"

using glyphmill::cli::parseArguments;
using glyphmill::cli::UsageError;

namespace {

TEST(CliArguments, ReadsParametersMemoryAndCommand) {
    const auto a = parseArguments({"KDXT,COM,/dev/pts/3,9600,8,0,0,3", "--memory", "RAM", "delete", "A.PCX", "B.PCX"});
    EXPECT_EQ(a.language, "KDXT");
    EXPECT_EQ(a.port.PortType, printer_link::kSerialPort);
    EXPECT_EQ(printer_link::fieldText(a.port.COMPortName), u"/dev/pts/3");
    EXPECT_EQ(a.port.FlowControl, 3);
    EXPECT_EQ(a.memoryType, "RAM");
    EXPECT_EQ(a.command, "delete");
    EXPECT_EQ(a.operands, (std::vector<std::string>{"A.PCX", "B.PCX"}));

    const auto b = parseArguments({"KDXZ,NET,127.0.0.1,9100", "list", "--json"});
    EXPECT_EQ(b.memoryType, "FLASH");
    EXPECT_TRUE(b.json);
    EXPECT_EQ(b.port.NetPort, 9100);
    EXPECT_EQ(b.netIPVersion, 2);
    EXPECT_EQ(parseArguments({"KDXC,NET,127.0.0.1,9100", "test-print", "A.FNT", "--text", "Grüße"}).testText, u"Grüße");
}

TEST(CliArguments, RefusesWhatItCannotUnderstand) {
    const std::vector<std::vector<std::string>> bad = {
        {},
        {"KDXZ,NET,127.0.0.1,9100"},
        {"kdxz,NET,127.0.0.1,9100", "list"},
        {"KDXZ", "list"},
        {"KDXZ,FOO,1", "list"},
        {"KDXZ,COM,3,9600", "list"},
        {"KDXZ,NET,127.0.0.1,9100", "erase"},
        {"KDXZ,NET,127.0.0.1,9100", "--memory", "ROM", "list"},
        {"KDXZ,NET,127.0.0.1,9100", "--memory"},
        {"KDXZ,NET,127.0.0.1,9100", "delete"},
        {"KDXZ,NET,127.0.0.1,9100", "test-print", "A", "B"},
        {"KDXZ,NET,127.0.0.1,9100", "memory", "--json"},
        {"KDXZ,NET,127.0.0.1,9100", "list", "--name", "X"},
        {"KDXZ,NET,127.0.0.1,9100", "list", "--verbose"},
    };
    for (const auto &args : bad) {
        std::string line;
        for (const auto &arg : args) line += arg + " ";
        EXPECT_THROW(parseArguments(args), UsageError) << line;
    }
}

TEST(CliArguments, HelpWinsOverEverythingElse) {
    EXPECT_TRUE(parseArguments({"--help"}).help);
    EXPECT_TRUE(parseArguments({"KDXQ", "nonsense", "-h"}).help);
}

}  // namespace
