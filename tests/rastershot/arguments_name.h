#pragma once

#include <algorithm>
#include <cctype>
#include <string>
#include <string_view>
#include <vector>

namespace rv {

// A test case named by its command-line arguments in the letters, digits and
// underscores that gtest and CTest accept: flags lose their dashes, a sign in a
// value is spelled out, other punctuation separates words and an empty value
// reads "empty". {"--tilt=-85", "--out", "a/b"} gives tilt_minus_85_out_a_b.
inline std::string argumentsName(const std::vector<std::string>& args) {
    std::string name;
    auto separate = [&] {
        if (!name.empty() && name.back() != '_') name += '_';
    };
    auto word = [&](std::string_view w) {
        separate();
        name += w;
        separate();
    };
    auto spell = [&](std::string_view text, bool signs) {
        if (text.empty()) word("empty");
        for (char c : text) {
            if (std::isalnum(static_cast<unsigned char>(c)))
                name += c;
            else if (c == '-' && signs)
                word("minus");
            else if (c == '+' && signs)
                word("plus");
            else
                separate();
        }
        separate();
    };
    for (std::string_view arg : args) {
        const bool flag = arg.starts_with("--") || (arg.size() > 1 && arg[0] == '-' && std::isalpha(arg[1]));
        if (!flag) {
            spell(arg, true);
            continue;
        }
        arg.remove_prefix(std::min(arg.find_first_not_of('-'), arg.size()));
        const size_t equals = arg.find('=');
        // Dashes inside a flag's name only join its words: no-mipmap.
        spell(arg.substr(0, equals), false);
        if (equals != std::string_view::npos) spell(arg.substr(equals + 1), true);
    }
    if (!name.empty()) name.pop_back();
    return name.empty() ? "no_arguments" : name;
}

// For INSTANTIATE_TEST_SUITE_P: names a case by its parameter's arguments, the
// parameter itself or its `args`.
inline constexpr auto byArguments = [](const auto& info) {
    if constexpr (requires { info.param.args; })
        return argumentsName(info.param.args);
    else
        return argumentsName(info.param);
};

} // namespace rv
