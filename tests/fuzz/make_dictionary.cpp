// Writes a fuzzer dictionary of the log's phrases, so that mutations reach the deep line rules
// quickly: every phrase of the vocabulary header ("..."_cp literals) as the Windows-1251 bytes the
// game client writes, in \xNN escapes, and the line heads and line ends of a chat log. For the
// reference lists it adds the section header of every class.
//
// Usage: fuzz_dictionary log|reference_lists VOCABULARY_H [--check COMMITTED_DICT]
// Without --check it prints the dictionary; with it, it fails when the committed one differs.

#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "tallyscope/codepage.h"
#include "tallyscope/reference_tables.h"

namespace {

// The line heads and ends that every chat log has, as the game client writes them.
const char* const kLogShapes[] = {
    "2026.12.09 20:41:10 : ", "20:41:10 : ", "\r\n", "\n", "\x1a", " IV", " II: ",
};

std::string Escaped(const std::string& bytes) {
    std::string out;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7F && c != '"' && c != '\\') {
            out += c;
        } else {
            char escape[5];
            std::snprintf(escape, sizeof escape, "\\x%02X", byte);
            out += escape;
        }
    }
    return out;
}

// The UTF-8 texts of the "..."_cp literals of the header, in order.
std::vector<std::string> VocabularyPhrases(const std::string& header) {
    std::vector<std::string> phrases;
    for (std::size_t at = header.find("\"_cp"); at != std::string::npos; at = header.find("\"_cp", at + 1)) {
        const std::size_t open = header.rfind('"', at - 1);
        if (open != std::string::npos)
            phrases.push_back(header.substr(open + 1, at - open - 1));
    }
    return phrases;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3 && !(argc == 5 && std::string(argv[3]) == "--check")) {
        std::cerr << "usage: fuzz_dictionary log|reference_lists VOCABULARY_H [--check DICT]\n";
        return 2;
    }
    const std::string kind = argv[1];
    std::ifstream in(argv[2], std::ios::binary);
    const std::string header((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!in || header.empty()) {
        std::cerr << "fuzz_dictionary: cannot read " << argv[2] << "\n";
        return 1;
    }

    std::vector<std::string> entries;
    std::set<std::string> seen;
    auto add = [&](const std::string& bytes) {
        if (!bytes.empty() && seen.insert(bytes).second)
            entries.push_back(bytes);
    };
    for (const std::string& phrase : VocabularyPhrases(header))
        add(tally::Utf8ToCp1251(phrase));
    for (const char* shape : kLogShapes)
        add(shape);
    if (kind == "reference_lists") {
        for (std::size_t k = 1; k <= 11; ++k)
            add(std::string(1, '[')
                    .append(tally::ClassNames[k])
                    .append(1, ']'));  // GCC 12 warns on "[" + string
    } else if (kind != "log") {
        std::cerr << "fuzz_dictionary: no dictionary " << kind << "\n";
        return 2;
    }

    std::ostringstream out;
    out << "# The phrases of the chat log as Windows-1251 bytes; written by fuzz_dictionary (tests/fuzz).\n";
    for (std::size_t i = 0; i < entries.size(); ++i)
        out << "phrase_" << i + 1 << "=\"" << Escaped(entries[i]) << "\"\n";

    if (argc == 3) {
        std::cout << out.str();
        return 0;
    }
    std::ifstream committed(argv[4], std::ios::binary);
    const std::string old((std::istreambuf_iterator<char>(committed)), std::istreambuf_iterator<char>());
    if (old != out.str()) {
        std::cerr << argv[4] << " is not the dictionary of the vocabulary now; write it anew with\n  "
                  << argv[0] << " " << kind << " " << argv[2] << " > " << argv[4] << "\n";
        return 1;
    }
    return 0;
}
