#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

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

// The designer's small settings files: lines of text, read tolerantly and written crash-safely.
// A file that cannot be read or written costs only a convenience, so both are silent about it.
// The text of `file`, at most `longest` bytes of it; empty when it cannot be read.
std::string ReadSettingText(const std::filesystem::path& file, std::size_t longest);
// The lines of a setting file's text, without their line ends.
std::vector<std::string> SettingLines(const std::string& text);
// Writes `text` to `file`, its folder made when missing.
void WriteSettingFile(const std::filesystem::path& file, const std::string& text);
// An absolute path without control characters, lexically normal and without a trailing "/";
// empty when `text` is not one.
std::string SettingPath(const std::string& text);

} // namespace tav::builder
