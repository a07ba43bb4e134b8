#include "tavctrls/platform/InputScript.h"

#include "tavctrls/platform/InputBuilder.h"
#include "tavctrls/platform/KeyMap.h"

#include <array>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <fstream>
#include <functional>
#include <sstream>
#include <sys/stat.h>

namespace tav::platform {
namespace {

constexpr std::string_view kBlanks = " \t";

std::vector<std::string_view> Words(std::string_view text) {
    std::vector<std::string_view> words;
    while (true) {
        const auto start = text.find_first_not_of(kBlanks);
        if (start == std::string_view::npos)
            return words;
        text.remove_prefix(start);
        const auto end = std::min(text.find_first_of(kBlanks), text.size());
        words.push_back(text.substr(0, end));
        text.remove_prefix(end);
    }
}

// Appended piece by piece: g++ 12 at -O3 warns (-Wrestrict) about the insert that "'" + string makes.
std::string Quoted(std::string_view word) {
    std::string quoted;
    quoted.reserve(word.size() + 2);
    quoted += '\'';
    quoted += word;
    quoted += '\'';
    return quoted;
}

bool ParseInt(std::string_view word, int low, int high, int& value) {
    const char* end = word.data() + word.size();
    const auto [next, status] = std::from_chars(word.data(), end, value);
    return status == std::errc() && next == end && value >= low && value <= high;
}

// Reads the quoted text of a `text` command; the error is empty on success.
std::string ParseQuotedText(std::string_view rest, std::string& text) {
    const auto start = rest.find_first_not_of(kBlanks);
    if (start == std::string_view::npos || rest[start] != '"')
        return "usage: text \"...\"";
    std::size_t i = start + 1;
    for (; i < rest.size() && rest[i] != '"'; ++i) {
        if (rest[i] != '\\') {
            text += rest[i];
            continue;
        }
        if (++i == rest.size())
            break;
        if (rest[i] != '"' && rest[i] != '\\')
            return "unknown escape '\\" + std::string(1, rest[i]) + "' (only \\\" and \\\\ are allowed)";
        text += rest[i];
    }
    if (i >= rest.size())
        return "the text has no closing quote";
    const std::string_view after = rest.substr(i + 1);
    if (after.find_first_not_of(kBlanks) != std::string_view::npos)
        return "unexpected " + Quoted(Words(after).front()) + " after the text";
    return {};
}

using PointAction = void (InputBuilder::*)(int, int);

struct PointCommand {
    std::string_view name;
    PointAction action;
};

constexpr std::array kPointCommands{
    PointCommand{"move", &InputBuilder::Move},
    PointCommand{"down", &InputBuilder::LButtonDown},
    PointCommand{"up", &InputBuilder::LButtonUp},
    PointCommand{"click", &InputBuilder::LClick},
    PointCommand{"dblclick", &InputBuilder::DoubleClick},
    PointCommand{"rdown", &InputBuilder::RButtonDown},
    PointCommand{"rup", &InputBuilder::RButtonUp},
    PointCommand{"rclick", &InputBuilder::RClick},
};

// One command with its arguments (`words`, the command first); the error is empty on success.
std::string ParseCommand(const std::vector<std::string_view>& words, std::string_view line,
                         InputBuilder& input) {
    const std::string_view command = words[0];
    const std::size_t arguments = words.size() - 1;
    for (const PointCommand& point : kPointCommands) {
        if (point.name != command)
            continue;
        if (arguments != 2)
            return "usage: " + std::string(command) + " X Y";
        int x = 0, y = 0;
        for (const auto& [word, value] : {std::pair{words[1], &x}, std::pair{words[2], &y}})
            if (!ParseInt(word, -32768, 32767, *value))
                return Quoted(word) + " is not a coordinate (a whole number from -32768 to 32767)";
        (input.*point.action)(x, y);
        return {};
    }
    if (command == "text") {
        std::string text;
        std::string error = ParseQuotedText(line.substr(line.find("text") + 4), text);
        if (error.empty())
            input.Text(text);
        return error;
    }
    int value = 0;
    if (command == "key") {
        if (arguments != 1)
            return "usage: key NAME, key NUMBER or key MODIFIER+...+NAME";
        std::string_view name = words[1];
        unsigned modifiers = 0;
        for (auto plus = name.find('+'); plus != std::string_view::npos; plus = name.find('+')) {
            const unsigned modifier = ModifierKeyFromName(name.substr(0, plus));
            if (modifier == 0)
                return Quoted(name.substr(0, plus)) + " is no modifier (SHIFT, CONTROL or ALT)";
            modifiers |= ModifiersOfKey(modifier);
            name.remove_prefix(plus + 1);
        }
        unsigned key = VirtualKeyFromName(name);
        if (key == 0 && ParseInt(name, 1, 255, value))
            key = static_cast<unsigned>(value);
        if (key == 0)
            return "unknown key " + Quoted(name);
        input.KeyDown(key, modifiers);
    } else if (command == "hold" || command == "release") {
        const unsigned key = arguments == 1 ? ModifierKeyFromName(words[1]) : 0;
        if (key == 0)
            return "usage: " + std::string(command) + " SHIFT, CONTROL or ALT";
        const bool held = (input.Held() & ModifiersOfKey(key)) != 0;
        if (held == (command == "hold"))
            return Quoted(words[1]) + (held ? " is held already" : " is not held");
        if (held)
            input.Release(key);
        else
            input.Hold(key);
    } else if (command == "wheel") {
        if (arguments != 1 || !ParseInt(words[1], -100, 100, value))
            return "usage: wheel N (notches from -100 to 100, negative towards the user)";
        input.Wheel(value);
    } else if (command == "char") {
        if (arguments != 1 || !ParseInt(words[1], 0, 255, value))
            return "usage: char N (a byte value from 0 to 255)";
        input.Char(static_cast<unsigned char>(value));
    } else if (command == "wait") {
        if (arguments != 1 || !ParseInt(words[1], 0, 1000000000, value))
            return "usage: wait N (a number of frames)";
        input.Wait(value);
    } else if (command == "activate") {
        if (arguments != 1 || !ParseInt(words[1], 0, 1, value))
            return "usage: activate 0 or activate 1";
        input.Activate(value == 1);
    } else if (command == "close") {
        if (arguments != 0)
            return "usage: close";
        input.Close();
    } else {
        return "unknown command " + Quoted(command);
    }
    return {};
}

} // namespace

bool ParseInputScript(std::string_view text, const std::string& fileName, std::vector<InputStep>& steps,
                      std::string* error) {
    if (text.starts_with("\xEF\xBB\xBF"))
        text.remove_prefix(3);
    InputBuilder input;
    int lineNumber = 0;
    while (!text.empty()) {
        ++lineNumber;
        const auto end = std::min(text.find('\n'), text.size());
        std::string_view line = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        const std::vector<std::string_view> words = Words(line);
        if (words.empty() || words[0].starts_with('#'))
            continue;
        const std::string message = ParseCommand(words, line, input);
        if (!message.empty()) {
            if (error != nullptr)
                *error = fileName + ":" + std::to_string(lineNumber) + ": " + message;
            return false;
        }
    }
    for (InputStep& step : input.Take())
        steps.push_back(step);
    return true;
}

bool LoadInputScript(const std::string& path, std::vector<InputStep>& steps, std::string* error) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    struct stat info {};
    const bool folder = ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode); // opens, reads as nothing
    if (file && !folder)
        text << file.rdbuf();
    if (!file || file.bad() || folder) {
        errno = folder ? EISDIR : errno;
        if (error != nullptr)
            *error = path + ": cannot read the input script: " + std::strerror(errno);
        return false;
    }
    return ParseInputScript(text.str(), path, steps, error);
}

} // namespace tav::platform
