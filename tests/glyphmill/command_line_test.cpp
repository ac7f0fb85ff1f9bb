// Starting Glyphmill with a parameter list.
#include <gtest/gtest.h>

#include <vector>

#include "command_line.h"

namespace {

struct Outcome {
    bool ok;
    glyphmill::PrinterChoice choice;
    printer_link::tagPORTINFO port;
    bool started;
    std::vector<std::string> bound;
};

Outcome parse(std::u16string_view line, bool bindable = true) {
    printer_link::LinkSettings link;
    Outcome outcome{};
    outcome.choice = {"KDXZ", "RAM"};
    outcome.ok = glyphmill::ParseCommandLine(line, outcome.choice, link, [&](const std::string &language) {
        outcome.bound.push_back(language);
        return bindable;
    });
    outcome.port = link.port();
    outcome.started = link.startedWithParameters();
    return outcome;
}

TEST(CommandLine, StartWithoutParametersChangesNothing) {
    const Outcome o = parse(u"\"/opt/glyphmill/Glyphmill.exe\" ");
    EXPECT_TRUE(o.ok);
    EXPECT_FALSE(o.started);
    EXPECT_EQ(o.choice.memoryType, "RAM");
    EXPECT_TRUE(o.bound.empty());
}

TEST(CommandLine, ParameterListSetsLanguageFlashAndPort) {
    const Outcome o = parse(u"KDXT,COM,1,9600,8,0,0,1");
    ASSERT_TRUE(o.ok);
    EXPECT_EQ(o.choice.language, "KDXT");
    EXPECT_EQ(o.choice.memoryType, "FLASH");
    EXPECT_EQ(o.bound, std::vector<std::string>{"KDXT"});
    EXPECT_EQ(o.port.PortType, printer_link::kSerialPort);
    EXPECT_TRUE(o.started);
}

TEST(CommandLine, FailuresLeaveThePortAlone) {
    struct Case {
        const char16_t *line;
        bool binds;  // the module is bound before the port part fails
    };
    const Case cases[] = {
        {u"", false},
        {u"\"/opt/glyphmill/Glyphmill.exe\"", false},  // no trailing blank: a parameter list without ","
        {u"Glyphmill", false},
        {u"KDXZ", true},
        {u"KDXZ,FOO,1", true},
        {u"kdxz,COM,1,9600,8,0,0,1", false},
        {u"KDXAⅡ,COM,1,9600,8,0,0,1", false},
    };
    for (const Case &c : cases) {
        const Outcome o = parse(c.line);
        EXPECT_FALSE(o.ok);
        EXPECT_FALSE(o.started);
        EXPECT_EQ(o.port.PortType, 0);
        EXPECT_EQ(!o.bound.empty(), c.binds);
    }
    EXPECT_FALSE(parse(u"KDXZ,NET,127.0.0.1,9100", false).ok);  // the module cannot be bound
}

}  // namespace
