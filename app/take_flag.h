#pragma once

#include <string_view>

namespace rv {

// Whether argv holds `flag`; every copy of it is removed from argv (argc shrinks
// to match, argv[argc] stays null), so GLUT never sees it.
bool takeFlag(int& argc, char** argv, std::string_view flag);

} // namespace rv
