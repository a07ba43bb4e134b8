#include "builder/UserFolders.h"

#include <cstdlib>
#include <system_error>

namespace fs = std::filesystem;

namespace tav::builder {
namespace {

// An absolute folder named by the environment variable, else empty.
fs::path AbsoluteFromEnvironment(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr || *value == '\0')
        return {};
    const fs::path path(value);
    return path.is_absolute() ? path : fs::path();
}

fs::path UserFolder(const char* variable, const char* underHome) {
    fs::path base = AbsoluteFromEnvironment(variable);
    if (base.empty()) {
        const fs::path home = HomeFolder();
        if (home.empty())
            return {};
        base = home / underHome;
    }
    return base / "tavbuilder";
}

} // namespace

fs::path HomeFolder() {
    return AbsoluteFromEnvironment("HOME");
}

fs::path ConfigFolder() {
    return UserFolder("XDG_CONFIG_HOME", ".config");
}

fs::path StateFolder() {
    return UserFolder("XDG_STATE_HOME", ".local/state");
}

std::string AbsolutePath(const std::string& path) {
    std::error_code error;
    const fs::path absolute = fs::absolute(path, error);
    return error ? path : absolute.lexically_normal().string();
}

} // namespace tav::builder
