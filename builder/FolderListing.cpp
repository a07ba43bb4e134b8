#include "builder/FolderListing.h"

#include <algorithm>
#include <cctype>
#include <system_error>

namespace fs = std::filesystem;

namespace tav::builder {
namespace {

bool Hidden(const std::string& name) {
    return !name.empty() && name.front() == '.';
}

char Lower(char c) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

// Case-insensitive for ASCII, byte order to break ties, so that the order is total.
bool NameLess(const std::string& a, const std::string& b) {
    const auto ci = std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                                 [](char x, char y) { return Lower(x) < Lower(y); });
    const auto ic = std::lexicographical_compare(b.begin(), b.end(), a.begin(), a.end(),
                                                 [](char x, char y) { return Lower(x) < Lower(y); });
    if (ci != ic)
        return ci;
    return a < b;
}

bool CanRead(const fs::path& folder) {
    std::error_code ec;
    fs::directory_iterator probe(folder, ec);
    return !ec;
}

void AddEntry(FolderListing& listing, const fs::directory_entry& entry, const std::string& extension) {
    const std::string name = entry.path().filename().string();
    if (Hidden(name))
        return;
    std::error_code ec;
    const fs::file_status status = entry.status(ec); // follows links; broken ones are left out
    if (ec)
        return;
    if (fs::is_directory(status))
        listing.folders.push_back({name, CanRead(entry.path())});
    else if (fs::is_regular_file(status) && HasExtension(name, extension))
        listing.files.push_back(name);
}

} // namespace

bool HasExtension(const std::string& name, const std::string& extension) {
    if (extension.empty() || name.size() <= extension.size())
        return false;
    return std::equal(extension.begin(), extension.end(), name.end() - static_cast<long>(extension.size()),
                      [](char x, char y) { return Lower(x) == Lower(y); });
}

FolderListing ListFolder(const fs::path& folder, const std::string& extension) {
    FolderListing listing;
    std::error_code ec;
    fs::directory_iterator it(folder, ec);
    if (ec) {
        listing.error = ec.message();
        return listing;
    }
    listing.readable = true;
    while (it != fs::directory_iterator()) {
        AddEntry(listing, *it, extension);
        it.increment(ec);
        if (ec)
            break;
    }
    if (ec)
        listing.error = ec.message(); // what was read before the failure is still shown
    std::sort(listing.folders.begin(), listing.folders.end(),
              [](const FolderEntry& a, const FolderEntry& b) { return NameLess(a.name, b.name); });
    std::sort(listing.files.begin(), listing.files.end(), NameLess);
    return listing;
}

fs::path ResolvePath(const fs::path& base, const std::string& path) {
    fs::path result = path.empty() ? base : base / fs::path(path); // an absolute path replaces the base
    result = result.lexically_normal();
    if (result.has_relative_path() && !result.has_filename())
        result = result.parent_path();
    return result;
}

} // namespace tav::builder
