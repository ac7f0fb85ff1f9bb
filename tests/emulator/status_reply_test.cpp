// The status queries of a printer monitor get replies that decode to the printer's state.
#include <gtest/gtest.h>

#include "emulator_client.h"
#include "status_decoding.h"

namespace emulator_test {
namespace {

struct StatusCase {
    std::string language;
    std::string state;
    std::string expected;  // the English text the monitor shows
};

void PrintTo(const StatusCase &c, std::ostream *out) { *out << c.language << " " << c.state; }

class StatusReply : public ::testing::TestWithParam<StatusCase> {};

TEST_P(StatusReply, DecodesToTheStateText) {
    const StatusCase &c = GetParam();
    emulator::Options options;
    options.language = c.language;
    options.state = emulator::PrinterState::parse(c.state);
    emulator::Printer printer(options);
    const std::string reply = query(printer, statusQuery(c.language));
    EXPECT_EQ(decodeStatus(c.language, reply), c.expected) << testing::PrintToString(reply);
}

const StatusCase kCases[] = {
    {"KDXZ", "ready", "No Error"},
    {"KDXZ", "paper-out", "Paper Out"},
    {"KDXZ", "paused", "Paused"},
    {"KDXZ", "buffer-full", "Buffer Full"},
    {"KDXZ", "head-open", "Head Up"},
    {"KDXZ", "label-waiting", "Label Waitting"},
    {"KDXZ", "paper-out+head-open", "Paper Out / Head Up"},
    {"KDXA", "ready", "No Error"},
    {"KDXA", "buffer-full", "Buffer Full"},
    {"KDXA", "paper-out", "Paper Out"},
    {"KDXA", "ribbon-out", "Ribbon Out"},
    {"KDXA", "batching", "Batching Mode"},
    {"KDXA", "busy", "Printer Busy"},
    {"KDXA", "paused", "Printer Paused"},
    {"KDXA", "label-missing", "Label Not Exist"},
    {"KDXA", "paper-out+ribbon-out", "Paper Out / Ribbon Out"},
    {"KDXE", "ready", "No Error"},
    {"KDXE", "syntax-error", "Syntax Error"},
    {"KDXE", "memory-full", "Insufficient Memory to Store Data"},
    {"KDXE", "paper-out", "Paper or Ribbon Empty"},
    {"KDXE", "ribbon-out", "Paper or Ribbon Empty"},
    {"KDXE", "head-open", "Printhead Up (Open)"},
    {"KDXE", "paused", "Pause Mode or Paused in Peel Mode"},
    {"KDXE", "busy", "Printer Busy - Processing Print Job"},
    {"KDXE", "cutter-error", "Cutter Jammed or Not Installed"},
    {"KDXE", "sensor-error", "AutoSense or Sensor Failure"},
    {"KDXE", "paper-jam", "Excessive Media Fedding"},
    // One code per reply: the lowest that applies.
    {"KDXE", "head-open+paper-out", "Paper or Ribbon Empty"},
    {"KDXT", "ready", "No Error"},
    {"KDXT", "head-open", "Head opened"},
    {"KDXT", "paper-jam", "Paper Jam"},
    {"KDXT", "paper-out", "Out of paper"},
    {"KDXT", "ribbon-out", "Out of ribbon"},
    {"KDXT", "paused", "Pause"},
    {"KDXT", "busy", "Printing"},
    {"KDXT", "other-error", "Other error"},
    {"KDXT", "paper-out+head-open", "Out of paper and head opened"},
    {"KDXT", "ribbon-out+paper-out", "Out of ribbon and out of paper"},
    {"KDXT", "ribbon-out+paper-jam+head-open", "Out of ribbon, paper jam and head opened"},
    {"KDXC", "ready", "No Error"},
    {"KDXC", "printer-reset", "Printer reset"},
    {"KDXC", "low-battery", "Low battery"},
    {"KDXC", "head-open", "Latch open"},
    {"KDXC", "paper-out", "Out of paper"},
    {"KDXC", "busy", "Printer busy"},
    {"KDXC", "ribbon-out", "No ribbon detected"},
    {"KDXC", "paper-low", "Paper supply is low"},
    {"KDXC", "label-waiting", "Last label not removed yet"},
    {"KDXC", "paper-jam", "Paper jam"},
    {"KDXC", "low-battery+paper-out", "Low battery / Out of paper"},
};

INSTANTIATE_TEST_SUITE_P(Table, StatusReply, ::testing::ValuesIn(kCases), [](const auto &info) {
    std::string name = info.param.language + "_" + info.param.state;
    for (char &c : name)
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
    return name;
});

TEST(StatusReplyFrames, KdxzReplyHasAtLeast82CharactersWithOrWithoutLineEnd) {
    emulator::Options options;
    options.state = emulator::PrinterState{emulator::Condition::Paused};
    emulator::Printer printer(options);
    for (const char *queryText : {"~HS", "~HS\r\n"}) {
        TcpClient client(printer.port());
        const std::string reply = exchange(printer, client, queryText);
        EXPECT_GE(reply.size(), 82u) << queryText;
        EXPECT_EQ(decodeStatus("KDXZ", reply), "Paused");
    }
}

TEST(StatusReplyFrames, StateChangedAtRunTimeIsReportedAtTheNextQuery) {
    emulator::Options options;
    options.language = "KDXT";
    emulator::Printer printer(options);
    TcpClient client(printer.port());
    EXPECT_EQ(decodeStatus("KDXT", exchange(printer, client, statusQuery("KDXT"))), "No Error");
    printer.setState(emulator::PrinterState::parse("paper-out"));
    EXPECT_EQ(printer.state().name(), "paper-out");
    EXPECT_EQ(decodeStatus("KDXT", exchange(printer, client, statusQuery("KDXT"))), "Out of paper");
}

TEST(StatusReplyFrames, StatesALanguageCannotReportAreRefused) {
    struct Case {
        const char *language;
        emulator::Condition condition;
    };
    for (const Case &c : {Case{"KDXA", emulator::Condition::HeadOpen}, Case{"KDXZ", emulator::Condition::RibbonOut},
                          Case{"KDXC", emulator::Condition::Paused}, Case{"KDXT", emulator::Condition::LowBattery},
                          Case{"KDXE", emulator::Condition::LabelWaiting}}) {
        emulator::Options options;
        options.language = c.language;
        emulator::Printer printer(options);
        EXPECT_FALSE(printer.canReport(c.condition)) << c.language;
        EXPECT_THROW(printer.setState(emulator::PrinterState{c.condition}), emulator::EmulatorError) << c.language;
        options.state = emulator::PrinterState{c.condition};
        EXPECT_THROW(emulator::Printer{options}, emulator::EmulatorError) << c.language;
    }
}

}  // namespace
}  // namespace emulator_test
