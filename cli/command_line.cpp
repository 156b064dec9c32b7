#include "command_line.h"

#include <charconv>
#include <limits>

namespace tally::cli {

const char* const kUsage =
    "Usage: tallyscope analyze LOG [--calc-type N] [--show-advanced N] [--hide-mobs]\n"
    "                              [--dots FILE] [--skills FILE] [--format table|json|csv|report]\n"
    "                              [--fight N [--gap S]]\n"
    "       tallyscope fights LOG [--gap S] [the options of analyze] [--format table|json|csv]\n"
    "       tallyscope follow LOG [--gap S] [--interval MS] [the options of analyze]\n"
    "\n"
    "Reads a chat log of the game client (Windows-1251) and prints the damage of every character:\n"
    "analyze over the whole log or one fight, fights lists the fights of the log, follow shows the\n"
    "fight in progress while the game writes the log, until interrupted: redrawn on a terminal,\n"
    "otherwise one JSON object a line whenever it changes.\n"
    "\n"
    "  --calc-type N       0: DoTs go to the last character who used the skill (default);\n"
    "                      any other value: DoTs are divided between characters of one class\n"
    "  --method 1|2        the same as --calc-type 0 or 1\n"
    "  --show-advanced N   1: count hits per skill and compute critical rates (default 0)\n"
    "  --stats             the same as --show-advanced 1\n"
    "  --hide-mobs         hide characters of class 0 (mobs and unknown actors)\n"
    "  --dots FILE         the DoT list (default: dots.txt in the current directory)\n"
    "  --skills FILE       the skill list (default: skills.txt in the current directory)\n"
    "  --format F          table (default), json, csv or report (the clipboard report)\n"
    "  --fight N           only fight N (from 1), with the damage per second\n"
    "  --gap S             a pause of more than S seconds between damage lines starts a new fight\n"
    "                      (default 30)\n"
    "  --interval MS       follow: read the log every MS milliseconds (default 1000)\n"
    "  --threads N         threads that work out the lines (default: one per processor; 1: none\n"
    "                      besides the one that books them)\n"
    "\n"
    "Exit codes: 0 the analysis completed, 1 it ended with an error, 2 usage error, 3 no file at LOG.\n";

namespace {

bool ParseInt32(const std::string& text, std::int32_t& value) {
    const char* first = text.data();
    const char* last = text.data() + text.size();
    if (first != last && *first == '+')
        ++first;
    const auto result = std::from_chars(first, last, value);
    return result.ec == std::errc() && result.ptr == last && first != last;
}

}  // namespace

ParsedCommandLine ParseCommandLine(const std::vector<std::string>& arguments) {
    ParsedCommandLine parsed;
    auto fail = [&parsed](std::string message) {
        parsed.error = std::move(message);
        parsed.options.reset();
        return parsed;
    };
    for (const auto& argument : arguments)
        if (argument == "--help" || argument == "-h") {
            parsed.helpRequested = true;
            return parsed;
        }
    if (arguments.empty())
        return fail("missing command");
    AnalyzeOptions options;
    if (arguments[0] == "analyze") {
        options.command = Command::Analyze;
    } else if (arguments[0] == "fights") {
        options.command = Command::Fights;
    } else if (arguments[0] == "follow") {
        options.command = Command::Follow;
    } else {
        return fail("unknown command '" + arguments[0] + "'");
    }
    bool haveLog = false;
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        auto value = [&](std::string& out) {
            if (i + 1 >= arguments.size())
                return false;
            out = arguments[++i];
            return true;
        };
        std::string text;
        if (argument == "--calc-type" || argument == "--show-advanced") {
            std::int32_t number = 0;
            if (!value(text) || !ParseInt32(text, number))
                return fail(argument + " needs an integer");
            (argument == "--calc-type" ? options.settings.calcType : options.settings.showAdvanced) = number;
        } else if (argument == "--method") {
            if (!value(text) || (text != "1" && text != "2"))
                return fail("--method needs 1 or 2");
            options.settings.calcType = text == "1" ? 0 : 1;
        } else if (argument == "--fight" && options.command == Command::Analyze) {
            std::int32_t number = 0;
            if (!value(text) || !ParseInt32(text, number) || number < 1)
                return fail("--fight needs a fight number from 1");
            options.fight = number;
        } else if (argument == "--gap") {
            std::int32_t seconds = 0;
            if (!value(text) || !ParseInt32(text, seconds) || seconds < 0)
                return fail("--gap needs a whole number of seconds");
            options.gap = seconds;
        } else if (argument == "--interval" && options.command == Command::Follow) {
            std::int32_t milliseconds = 0;
            if (!value(text) || !ParseInt32(text, milliseconds) || milliseconds < 10 ||
                milliseconds > 3600000)
                return fail("--interval needs milliseconds from 10 to 3600000");
            options.intervalMilliseconds = milliseconds;
        } else if (argument == "--threads") {
            std::int32_t count = 0;
            if (!value(text) || !ParseInt32(text, count) || count < 1 || count > 256)
                return fail("--threads needs a number from 1 to 256");
            options.threads = static_cast<unsigned>(count);
        } else if (argument == "--stats") {
            options.settings.showAdvanced = 1;
        } else if (argument == "--hide-mobs") {
            options.hideMobs = true;
        } else if (argument == "--dots") {
            if (!value(options.dotsFile))
                return fail("--dots needs a file");
        } else if (argument == "--skills") {
            if (!value(options.skillsFile))
                return fail("--skills needs a file");
        } else if (argument == "--format" && options.command != Command::Follow) {
            if (!value(text))
                return fail("--format needs a value");
            if (text == "table") {
                options.format = OutputFormat::Table;
            } else if (text == "json") {
                options.format = OutputFormat::Json;
            } else if (text == "csv") {
                options.format = OutputFormat::Csv;
            } else if (text == "report" && options.command == Command::Analyze) {
                options.format = OutputFormat::Report;
            } else {
                return fail("unknown format '" + text + "'");
            }
        } else if (argument.size() > 1 && argument[0] == '-') {
            return fail("unknown option '" + argument + "'");
        } else if (!haveLog) {
            options.logPath = argument;
            haveLog = true;
        } else {
            return fail("more than one log given");
        }
    }
    if (!haveLog)
        return fail("missing LOG");
    parsed.options = options;
    return parsed;
}

}  // namespace tally::cli
