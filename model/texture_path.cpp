#include "model/texture_path.h"

#include <algorithm>

namespace rv {

std::vector<std::string> textureCandidates(const std::string& modelPath, const std::string& written) {
    std::string path = written;
    std::replace(path.begin(), path.end(), '\\', '/');
    const std::size_t slash = modelPath.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "" : modelPath.substr(0, slash + 1);
    const bool absolute = path.starts_with('/') || (path.size() > 1 && path[1] == ':');
    const std::size_t last = path.find_last_of('/');
    const std::string name = last == std::string::npos ? path : path.substr(last + 1);

    std::vector<std::string> candidates;
    if (!absolute && !path.empty()) candidates.push_back(folder + path);
    if (!name.empty() && (absolute || name != path)) candidates.push_back(folder + name);
    return candidates;
}

} // namespace rv
