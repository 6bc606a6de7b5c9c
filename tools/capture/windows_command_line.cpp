// Built on every system, so that the quoting is tested everywhere.
#include "child_pipe.h"

namespace {

bool needsQuotes(const std::string& arg) {
    return arg.empty() || arg.find_first_of(" \t\n\v\"") != std::string::npos;
}

// Backslashes are literal unless a quote follows them: then each of them
// must be doubled (and the quote itself escaped).
void appendQuoted(std::string& line, const std::string& arg) {
    line += '"';
    size_t backslashes = 0;
    for (const char c : arg) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        if (c == '"') {
            line.append(2 * backslashes + 1, '\\');
        } else {
            line.append(backslashes, '\\');
        }
        backslashes = 0;
        line += c;
    }
    line.append(2 * backslashes, '\\');  // before the closing quote
    line += '"';
}

}  // namespace

std::string windowsCommandLine(const std::vector<std::string>& args) {
    std::string line;
    for (const std::string& arg : args) {
        if (!line.empty()) line += ' ';
        if (needsQuotes(arg)) {
            appendQuoted(line, arg);
        } else {
            line += arg;
        }
    }
    return line;
}
