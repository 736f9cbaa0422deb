#include "shell/sendto/SendToDesktopEntry.h"

#include <algorithm>

namespace quarn {

namespace {

constexpr std::string_view Group = "[Desktop Entry]";
constexpr std::string_view Blanks = " \t\r";

std::string_view Trimmed(std::string_view text) {
    const std::size_t start = text.find_first_not_of(Blanks);
    if (start == std::string_view::npos) {
        return {};
    }
    return text.substr(start, text.find_last_not_of(Blanks) - start + 1);
}

// The escapes of a string value: \s, \n, \t, \r and \\. Any other backslash stays.
std::string Unescaped(std::string_view value) {
    std::string text;
    for (std::size_t i = 0; i < value.size(); ++i) {
        const char next = i + 1 < value.size() ? value[i + 1] : '\0';
        const std::string_view known = "sntr\\";
        if (value[i] != '\\' || known.find(next) == std::string_view::npos || next == '\0') {
            text += value[i];
            continue;
        }
        text += next == 's'   ? ' '
                : next == 'n' ? '\n'
                : next == 't' ? '\t'
                : next == 'r' ? '\r'
                              : '\\';
        ++i;
    }
    return text;
}

// One piece of an argument of the Exec line: literal text, or a field code.
struct Piece {
    std::string text;
    char code = '\0';
};
using Argument = std::vector<Piece>;

bool IsFieldCode(char code) {
    return std::string_view("fFuUick").find(code) != std::string_view::npos;
}
bool IsDeprecatedCode(char code) {
    return std::string_view("dDnNvm").find(code) != std::string_view::npos;
}

void AddText(Argument& argument, char c) {
    if (argument.empty() || argument.back().code != '\0') {
        argument.push_back({});
    }
    argument.back().text += c;
}

// The arguments of the line, split at blanks outside double quotes; nothing when it is not
// valid.
std::optional<std::vector<Argument>> SplitExecLine(std::string_view line) {
    std::vector<Argument> arguments;
    Argument current;
    bool started = false;
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        const char next = i + 1 < line.size() ? line[i + 1] : '\0';
        if (!quoted && (c == ' ' || c == '\t' || c == '\n')) {
            if (started) {
                arguments.push_back(std::move(current));
            }
            current = {};
            started = false;
            continue;
        }
        started = true;
        if (c == '"') {
            quoted = !quoted;
        } else if (c == '\\' && next != '\0' &&
                   (!quoted || std::string_view("\"`$\\").find(next) != std::string_view::npos)) {
            AddText(current, next);
            ++i;
        } else if (c == '%' && next == '%') {
            AddText(current, '%');
            ++i;
        } else if (c == '%') {
            if (!IsFieldCode(next) && !IsDeprecatedCode(next)) {
                return std::nullopt;
            }
            current.push_back({{}, next});
            ++i;
        } else {
            AddText(current, c);
        }
    }
    if (quoted) {
        return std::nullopt;
    }
    if (started) {
        arguments.push_back(std::move(current));
    }
    return arguments;
}

bool HasCode(const std::vector<Argument>& arguments, std::string_view codes) {
    return std::any_of(arguments.begin(), arguments.end(), [codes](const Argument& argument) {
        return std::any_of(argument.begin(), argument.end(), [codes](const Piece& piece) {
            return piece.code != '\0' && codes.find(piece.code) != std::string_view::npos;
        });
    });
}

struct Expansion {
    const DesktopEntry& entry;
    const std::string& entryPath;
    const std::vector<std::string>& files;
    const std::string* file; // the one file of %f and %u; nil when there is none
};

// Appends what one argument stands for; false when it cannot stand where it is.
bool Expand(const Argument& argument, const Expansion& with, CommandLine& line) {
    if (argument.size() == 1 && argument.front().code != '\0') {
        switch (argument.front().code) {
        case 'F':
        case 'U':
            line.insert(line.end(), with.files.begin(), with.files.end());
            return true;
        case 'i':
            if (!with.entry.icon.empty()) {
                line.insert(line.end(), {"--icon", with.entry.icon});
            }
            return true;
        case 'f':
        case 'u':
            if (with.file != nullptr) {
                line.push_back(*with.file);
            }
            return true;
        default:
            if (IsDeprecatedCode(argument.front().code)) {
                return true;
            }
        }
    }
    std::string text;
    for (const Piece& piece : argument) {
        switch (piece.code) {
        case '\0':
            text += piece.text;
            break;
        case 'f':
        case 'u':
            text += with.file != nullptr ? *with.file : std::string();
            break;
        case 'c':
            text += with.entry.name;
            break;
        case 'k':
            text += with.entryPath;
            break;
        case 'i':
        case 'F':
        case 'U':
            return false; // these stand only as arguments of their own
        default:
            break; // deprecated: dropped
        }
    }
    line.push_back(std::move(text));
    return true;
}

} // namespace

DesktopEntry ParseDesktopEntry(std::string_view text) {
    DesktopEntry entry;
    bool inGroup = false;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        const std::string_view line = Trimmed(text.substr(0, end));
        text.remove_prefix(std::min(end + 1, text.size()));
        if (line.empty() || line.front() == '#') {
            continue;
        }
        if (line.front() == '[') {
            inGroup = line == Group;
            continue;
        }
        const std::size_t equals = line.find('=');
        if (!inGroup || equals == std::string_view::npos) {
            continue;
        }
        const std::string_view key = Trimmed(line.substr(0, equals));
        const std::string value = Unescaped(Trimmed(line.substr(equals + 1)));
        if (key == "Type") {
            entry.type = value;
        } else if (key == "Name") {
            entry.name = value;
        } else if (key == "Icon") {
            entry.icon = value;
        } else if (key == "Exec") {
            entry.exec = value;
        } else if (key == "Path") {
            entry.path = value;
        }
    }
    return entry;
}

std::vector<CommandLine> ExpandExecLine(const DesktopEntry& entry, const std::string& entryPath,
                                        const std::vector<std::string>& files) {
    std::optional<std::vector<Argument>> arguments = SplitExecLine(entry.exec);
    if (!arguments || arguments->empty()) {
        return {};
    }
    if (!HasCode(*arguments, "fFuU")) {
        arguments->push_back({{{}, 'F'}});
    }
    std::vector<const std::string*> runs;
    if (HasCode(*arguments, "fu") && !files.empty()) {
        for (const std::string& file : files) {
            runs.push_back(&file);
        }
    } else {
        runs.push_back(nullptr);
    }
    std::vector<CommandLine> lines;
    for (const std::string* file : runs) {
        CommandLine line;
        const Expansion with{entry, entryPath, files, file};
        for (const Argument& argument : *arguments) {
            if (!Expand(argument, with, line)) {
                return {};
            }
        }
        if (line.empty() || line.front().empty()) {
            return {};
        }
        lines.push_back(std::move(line));
    }
    return lines;
}

} // namespace quarn
