#include "app/notice.h"

namespace rv {

int Notice::show(std::string text) {
    shown = std::move(text);
    return ++number;
}

bool Notice::expire(int expired) {
    if (expired != number || shown.empty()) return false;
    shown.clear();
    return true;
}

} // namespace rv
