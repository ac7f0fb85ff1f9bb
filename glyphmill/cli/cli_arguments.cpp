#include "cli_arguments.h"

#include <algorithm>
#include <set>

#include "link/port_part_parser.h"
#include "text_codec.h"

namespace glyphmill::cli {

const char *const kUsage = R"(Usage: glyphmill-cli PARAMETERS [--memory RAM|FLASH] COMMAND [ARGS]

PARAMETERS names the command language and the printer port, as the programs take them:
  KDXZ,NET,127.0.0.1,9100            network printer (address, TCP port)
  KDXT,COM,/dev/pts/3,9600,8,0,0,3   serial port (port, speed, data bits, stop code,
                                     parity code, flow code); COMn is /dev/ttyS(n-1)
  KDXA,LPT,1   KDXC,USBClass,NAME   KDXE,USBAPI,0   KDXZ,DRIVER,QUEUE
The language is one of KDXZ, KDXT, KDXA, KDXC, KDXE. The memory type defaults to FLASH.

Commands:
  memory                          print the free bytes of the memory
  list [--json]                   one file per line: memory, name, type, size (tab-separated)
  delete NAME...                  delete the named files
  format                          format the memory
  test-print NAME [--text TEXT]   print a test label of one file
  download-ttf FILE [--name NAME] download a TrueType or OpenType font (name: 8 bytes at most)
  download-data FILE [--name NAME]
                                  download a data file as NAME.DAT (KDXZ)
  send FILE                       send the file's bytes as they are

Exit codes: 0 done, 1 printer or link failure, 2 bad usage.
)";

namespace {

const std::set<std::string> kLanguages{"KDXZ", "KDXT", "KDXA", "KDXC", "KDXE"};

struct CommandShape {
    std::size_t minOperands, maxOperands;
};

const CommandShape *shapeOf(const std::string &command) {
    static const std::pair<const char *, CommandShape> shapes[] = {
        {"memory", {0, 0}},       {"list", {0, 0}},          {"delete", {1, 100}},
        {"format", {0, 0}},       {"test-print", {1, 1}},    {"download-ttf", {1, 1}},
        {"download-data", {1, 1}}, {"send", {1, 1}},
    };
    for (const auto &[name, shape] : shapes)
        if (command == name) return &shape;
    return nullptr;
}

void parseParameters(const std::string &parameters, Arguments &arguments) {
    const std::size_t comma = parameters.find(',');
    if (comma == std::string::npos) throw UsageError{"PARAMETERS must name a language and a port: " + parameters};
    arguments.language = parameters.substr(0, comma);
    if (!kLanguages.count(arguments.language))
        throw UsageError{"unknown command language '" + arguments.language + "' (KDXZ, KDXT, KDXA, KDXC or KDXE)"};
    const std::u16string portPart = kdx::fromUtf8(parameters.substr(comma + 1));
    const auto parsed = printer_link::parsePortPart(portPart, printer_link::tagPORTINFO{});
    if (!parsed) throw UsageError{"cannot read the port part '" + parameters.substr(comma + 1) + "'"};
    arguments.port = parsed->port;
    arguments.netIPVersion = parsed->netIPVersion.value_or(-1);
}

}  // namespace

Arguments parseArguments(const std::vector<std::string> &args) {
    Arguments arguments;
    if (std::find(args.begin(), args.end(), "--help") != args.end() ||
        std::find(args.begin(), args.end(), "-h") != args.end()) {
        arguments.help = true;
        return arguments;
    }
    std::vector<std::string> positional;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string &arg = args[i];
        auto value = [&]() -> const std::string & {
            if (i + 1 >= args.size()) throw UsageError{arg + " needs a value"};
            return args[++i];
        };
        if (arg == "--memory") {
            arguments.memoryType = value();
            if (arguments.memoryType != "RAM" && arguments.memoryType != "FLASH")
                throw UsageError{"the memory type is RAM or FLASH, not '" + arguments.memoryType + "'"};
        } else if (arg == "--json") {
            arguments.json = true;
        } else if (arg == "--name") {
            arguments.name = value();
        } else if (arg == "--text") {
            arguments.testText = kdx::fromUtf8(value());
        } else if (arg.size() > 1 && arg[0] == '-' && arg[1] == '-') {
            throw UsageError{"unknown option " + arg};
        } else {
            positional.push_back(arg);
        }
    }
    if (positional.size() < 2) throw UsageError{"PARAMETERS and a COMMAND are needed"};
    parseParameters(positional[0], arguments);
    arguments.command = positional[1];
    arguments.operands.assign(positional.begin() + 2, positional.end());
    const CommandShape *shape = shapeOf(arguments.command);
    if (!shape) throw UsageError{"unknown command '" + arguments.command + "'"};
    if (arguments.operands.size() < shape->minOperands || arguments.operands.size() > shape->maxOperands)
        throw UsageError{"wrong number of arguments for " + arguments.command};
    if (arguments.json && arguments.command != "list") throw UsageError{"--json goes with list"};
    if (arguments.name && arguments.command != "download-ttf" && arguments.command != "download-data")
        throw UsageError{"--name goes with download-ttf and download-data"};
    return arguments;
}

}  // namespace glyphmill::cli
