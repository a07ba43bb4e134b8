#pragma once

#include <filesystem>
#include <string>

namespace tav::builder {

// The designer's folders under the user's base folders: $XDG_CONFIG_HOME/tavbuilder (settings) and
// $XDG_STATE_HOME/tavbuilder (recovery data), or ~/.config/tavbuilder and ~/.local/state/tavbuilder
// when the variable is unset, empty or relative. Empty when neither gives an absolute folder.
std::filesystem::path ConfigFolder();
std::filesystem::path StateFolder();
// $HOME when it is an absolute path, else empty.
std::filesystem::path HomeFolder();

// `path` made absolute and lexically normal; as given when that fails.
std::string AbsolutePath(const std::string& path);

} // namespace tav::builder
