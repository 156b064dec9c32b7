// The command-line parser of tallyscope over arbitrary arguments (the input split at NUL bytes). It
// answers every argument list with options, a request for help or a usage error with its message;
// help exactly when some argument asks for it; and the options it gives, written out again as
// arguments, parse to the same options.

#include <cstdint>
#include <string>
#include <vector>

#include "command_line.h"
#include "fuzz_support.h"

namespace tally::fuzz {
namespace {

using cli::AnalyzeOptions;
using cli::Command;
using cli::OutputFormat;

std::vector<std::string> Arguments(const AnalyzeOptions& options) {
    static const char* const commands[] = {"analyze", "fights", "follow"};
    static const char* const formats[] = {"table", "json", "csv", "report"};
    std::vector<std::string> out{commands[static_cast<int>(options.command)], options.logPath};
    out.insert(out.end(), {"--calc-type", std::to_string(options.settings.calcType), "--show-advanced",
                           std::to_string(options.settings.showAdvanced), "--dots", options.dotsFile,
                           "--skills", options.skillsFile, "--gap", std::to_string(options.gap)});
    if (options.hideMobs)
        out.push_back("--hide-mobs");
    if (options.command != Command::Follow)
        out.insert(out.end(), {"--format", formats[static_cast<int>(options.format)]});
    if (options.fight)
        out.insert(out.end(), {"--fight", std::to_string(*options.fight)});
    if (options.command == Command::Follow)
        out.insert(out.end(), {"--interval", std::to_string(options.intervalMilliseconds)});
    return out;
}

std::string Describe(const AnalyzeOptions& o) {
    std::string out;
    for (const std::string& argument : Arguments(o))
        out += "[" + argument + "] ";
    return out;
}

}  // namespace
}  // namespace tally::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tally;
    using namespace tally::fuzz;
    std::vector<std::string> arguments;
    if (size > 0)
        for (const std::string_view piece : Bytes(data, size).Split('\0'))
            arguments.emplace_back(piece);

    const cli::ParsedCommandLine parsed = cli::ParseCommandLine(arguments);
    bool asksForHelp = false;
    for (const std::string& argument : arguments)
        asksForHelp = asksForHelp || argument == "--help" || argument == "-h";
    FUZZ_CHECK_EQ(parsed.helpRequested, asksForHelp);
    if (parsed.helpRequested) {
        FUZZ_CHECK(!parsed.options);
        return 0;
    }
    if (!parsed.options) {
        FUZZ_CHECK(!parsed.error.empty(), "a usage error says what is wrong");
        return 0;
    }
    const cli::AnalyzeOptions& options = *parsed.options;
    FUZZ_CHECK(parsed.error.empty());
    FUZZ_CHECK(options.logPath.size() <= 1 || options.logPath[0] != '-',
               "an option is never taken for the log");
    FUZZ_CHECK(!options.fight || (options.command == cli::Command::Analyze && *options.fight >= 1));
    FUZZ_CHECK(options.gap >= 0);
    FUZZ_CHECK(options.intervalMilliseconds >= 10 && options.intervalMilliseconds <= 3600000);
    FUZZ_CHECK(options.format != cli::OutputFormat::Report || options.command == cli::Command::Analyze);

    const cli::ParsedCommandLine again = cli::ParseCommandLine(Arguments(options));
    FUZZ_CHECK(again.options.has_value(), "the options written out parse again");
    FUZZ_CHECK_EQ(Describe(*again.options), Describe(options));
    FUZZ_CHECK_EQ(again.options->hideMobs, options.hideMobs);
    return 0;
}
