#include "app/take_flag.h"

namespace rv {

bool takeFlag(int& argc, char** argv, std::string_view flag) {
    bool found = false;
    int kept = argc > 0 ? 1 : 0;
    for (int i = kept; i < argc; ++i) {
        if (flag == argv[i])
            found = true;
        else
            argv[kept++] = argv[i];
    }
    for (int i = kept; i < argc; ++i) argv[i] = nullptr;
    argc = kept;
    return found;
}

} // namespace rv
