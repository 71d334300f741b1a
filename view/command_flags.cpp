#include "view/command_flags.h"

#include <cmath>

namespace rv {

std::string readFinite(std::string_view flag, std::string_view text, float& out) {
    std::errc why{};
    const std::optional<float> value = parseWhole<float>(text, why);
    const std::string quoted = "'" + std::string(text) + "'";
    if (why == std::errc::result_out_of_range)
        return std::string(flag) + ": " + quoted + " is out of range for a float";
    if (!value) return std::string(flag) + ": " + quoted + " is not a number";
    if (!std::isfinite(*value)) return std::string(flag) + ": " + quoted + " is not a finite number";
    out = *value;
    return {};
}

std::string readWholeNumber(std::string_view flag, std::string_view text, int lowest, int highest, int& out) {
    std::errc why{};
    const std::optional<int> n = parseWhole<int>(text, why);
    if (!n || *n < lowest || *n > highest)
        return std::string(flag) + ": expected a whole number from " + std::to_string(lowest) + " to " +
               std::to_string(highest) + ", got '" + std::string(text) + "'";
    out = *n;
    return {};
}

} // namespace rv
