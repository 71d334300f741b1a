#pragma once

#include <charconv>
#include <initializer_list>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace rv {

// Command lines of the viewer and of rastershot, read by one set of rules.

// Whole-text conversions only: "12abc", " 12" and "" are not numbers. `why`
// tells a number out of the type's range from no number at all.
template <class T> std::optional<T> parseWhole(std::string_view text, std::errc& why) {
    // from_chars rejects a leading '+', which people type for offsets.
    if (text.size() > 1 && text[0] == '+' && text[1] != '-' && text[1] != '+') text.remove_prefix(1);
    T value{};
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    why = ec;
    if (ec != std::errc() || end != text.data() + text.size()) {
        if (ec == std::errc()) why = std::errc::invalid_argument;
        return std::nullopt;
    }
    return value;
}

// Empty when `text` is a finite float, else the reason, naming the flag.
std::string readFinite(std::string_view flag, std::string_view text, float& out);
// Empty when `text` is a whole number from lowest to highest, else the reason, naming the flag.
std::string readWholeNumber(std::string_view flag, std::string_view text, int lowest, int highest, int& out);

// One entry of a program's table of flags.
template <class Options> struct Flag {
    std::string_view name;
    // Shown in "needs a value" messages; empty for a flag without a value.
    std::string_view valueName;
    // Empty on success, else the message.
    std::string (*apply)(std::string_view value, Options& options);
};

struct ReadArguments {
    enum class Action { run, help, reject };
    Action action = Action::run;
    // Why the arguments were rejected, naming the flag or argument; empty otherwise.
    std::string error;
    // With passOthers, the arguments that are not ours, in order.
    std::vector<std::string> others;
};

// A program's flags: its own table, then the tables it shares with other programs.
template <class Options> using FlagTables = std::initializer_list<std::span<const Flag<Options>>>;

// Reads `args` in order into `options`, looking each flag up in `tables`. --help or -h wins where it stands; a
// value follows its flag as the next argument or after '=' (--size=640x480);
// a repeated flag takes its last value; the first bad argument rejects the
// line. Arguments that do not start with "--" are rejected, or with passOthers
// handed back in `others` for another reader (GLUT's -display, -geometry).
template <class Options>
ReadArguments readArguments(const std::vector<std::string>& args, FlagTables<Options> tables, Options& options,
                            bool passOthers = false) {
    ReadArguments result;
    auto reject = [&](std::string why) {
        result.action = ReadArguments::Action::reject;
        result.error = std::move(why);
        return result;
    };
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        if (arg == "--help" || arg == "-h") {
            result.action = ReadArguments::Action::help;
            return result;
        }
        if (!arg.starts_with("--")) {
            if (!passOthers) return reject("unexpected argument '" + std::string(arg) + "'");
            result.others.emplace_back(arg);
            continue;
        }
        const size_t equals = arg.find('=');
        const std::string_view name = arg.substr(0, equals);
        const Flag<Options>* flag = nullptr;
        for (const std::span<const Flag<Options>> table : tables)
            for (const Flag<Options>& f : table)
                if (!flag && f.name == name) flag = &f;
        if (!flag) return reject("unknown option '" + std::string(name) + "'");

        std::string_view value;
        if (flag->valueName.empty()) {
            if (equals != std::string_view::npos) return reject(std::string(name) + " takes no value");
        } else if (equals != std::string_view::npos) {
            value = arg.substr(equals + 1);
        } else {
            // A following flag is a forgotten value, not a value of its own.
            if (i + 1 == args.size() || args[i + 1].starts_with("--"))
                return reject(std::string(name) + " needs a value: " + std::string(flag->valueName));
            value = args[++i];
        }
        if (std::string why = flag->apply(value, options); !why.empty()) return reject(std::move(why));
    }
    return result;
}

} // namespace rv
