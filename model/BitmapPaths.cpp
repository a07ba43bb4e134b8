#include "model/BitmapPaths.h"

#include "model/ProgramFolder.h"
#include "model/Project.h"
#include "model/ProjectFile.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>
#include <unordered_map>

namespace tav {

namespace fs = std::filesystem;

namespace {

bool Climbs(const fs::path& path) {
    return std::any_of(path.begin(), path.end(), [](const fs::path& part) { return part == ".."; });
}

// `path` relative to `folder` (both normal), or empty when it is the folder itself or outside it.
std::string RelativeInside(const fs::path& path, const fs::path& folder) {
    const fs::path relative = path.lexically_relative(folder);
    if (relative.empty() || relative == "." || *relative.begin() == "..")
        return {};
    return relative.string();
}

bool IsFile(const fs::path& path) {
    std::error_code failed;
    return fs::is_regular_file(path, failed);
}

bool SameBytes(const fs::path& a, const fs::path& b) {
    std::error_code failed;
    if (!IsFile(a) || !IsFile(b) || fs::file_size(a, failed) != fs::file_size(b, failed) || failed)
        return false;
    std::ifstream first(a, std::ios::binary), second(b, std::ios::binary);
    return first && second &&
           std::equal(std::istreambuf_iterator<char>(first), std::istreambuf_iterator<char>(),
                      std::istreambuf_iterator<char>(second), std::istreambuf_iterator<char>());
}

// Where the designer's own bitmaps are: beside the program, or installed under ../share.
const std::vector<std::string>& ArtFolders() {
    static const std::vector<std::string> folders = {
        (fs::path(ProgramFolder()) / "art").lexically_normal().string(),
        (fs::path(ProgramFolder()) / "../share/TavCtrls/art").lexically_normal().string()};
    return folders;
}

// Resolves the paths of one project as they are read, each distinct path looked up once. A field
// mostly names what the same field of the object before named, so that is tried first.
class PathResolver final : public StoredPathMap {
public:
    explicit PathResolver(const std::string& folder) : m_folder(folder) {}

    void Assign(std::string& field, std::string_view stored, std::size_t slot) override {
        Last& last = m_last[slot % kPathSlots];
        if (last.stored == nullptr || stored != *last.stored) {
            auto known = m_known.find(stored);
            if (known == m_known.end()) {
                std::string path(stored);
                std::string resolved = ResolvedBitmapPath(path, m_folder);
                known = m_known.emplace(std::move(path), std::move(resolved)).first;
            }
            last = {&known->first, &known->second};
        }
        field = *last.resolved;
    }

private:
    struct Hash {
        using is_transparent = void;
        std::size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
    };
    struct Last {
        const std::string* stored = nullptr;
        const std::string* resolved = nullptr;
    };
    const std::string& m_folder;
    std::unordered_map<std::string, std::string, Hash, std::equal_to<>> m_known;
    std::array<Last, kPathSlots> m_last{};
};

} // namespace

std::string FolderOf(const std::string& projectFile) {
    std::error_code failed;
    std::string folder = fs::absolute(projectFile, failed).parent_path().lexically_normal().string();
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    return folder;
}

std::vector<std::string*> AllBitmapFields(Project& project) {
    std::vector<std::string*> fields;
    for (auto& screen : project.screens)
        fields.push_back(&screen->background);
    for (auto& o : project.objects) {
        fields.insert(fields.end(), {&o->image, &o->downBitmap, &o->overBitmap, &o->upBitmap,
                                     &o->checkedBitmap, &o->uncheckedBitmap, &o->listBackground,
                                     &o->treeBackground, &o->plusBitmap, &o->minusBitmap});
        for (std::string& frame : o->frames)
            fields.push_back(&frame);
    }
    return fields;
}

std::string PathInside(const std::string& path, const std::string& folder) {
    const fs::path given(path);
    if (path.empty() || folder.empty() || !given.is_absolute())
        return {};
    if (!Climbs(given))
        if (std::string inside =
                RelativeInside(given.lexically_normal(), fs::path(folder).lexically_normal());
            !inside.empty())
            return inside;
    std::error_code pathFailed, folderFailed;
    const fs::path real = fs::weakly_canonical(given, pathFailed);
    const fs::path realFolder = fs::weakly_canonical(folder, folderFailed);
    if (pathFailed || folderFailed)
        return {};
    return RelativeInside(real, realFolder);
}

std::string PortableBitmapPath(const std::string& path, const std::string& folder) {
    if (path.empty() || !fs::path(path).is_absolute())
        return path;
    if (std::string inside = PathInside(path, folder); !inside.empty())
        return inside;
    for (const std::string& art : ArtFolders()) {
        const std::string name = PathInside(path, art);
        if (name.empty())
            continue;
        // The project's folder is looked in first: its own file of that name must be this one.
        const std::string stored = "art/" + name;
        const fs::path own = fs::path(folder) / stored;
        std::error_code failed;
        if (folder.empty() || !fs::exists(own, failed) || fs::equivalent(own, path, failed))
            return stored;
    }
    return path;
}

bool IsLibraryArt(const std::string& path, const std::string& name) {
    return std::any_of(ArtFolders().begin(), ArtFolders().end(), [&](const std::string& art) {
        return PathInside(path, art) == name || SameBytes(path, fs::path(art) / name);
    });
}

std::string ResolvedBitmapPath(const std::string& path, const std::string& folder) {
    if (path.empty() || folder.empty() || fs::path(path).is_absolute())
        return path;
    const fs::path joined = fs::path(folder) / path;
    if (!IsFile(joined))
        return path;
    std::error_code failed;
    const fs::path resolved = Climbs(path) ? fs::weakly_canonical(joined, failed) : joined.lexically_normal();
    return failed ? joined.string() : resolved.string();
}

std::string LocateBitmap(const std::string& path) {
    if (path.empty() || fs::path(path).is_absolute() || IsFile(path))
        return path;
    for (const fs::path& candidate :
         {fs::path(ProgramFolder()) / path, fs::path(ProgramFolder()) / "../share/TavCtrls" / path})
        if (IsFile(candidate))
            return candidate.lexically_normal().string();
    return path;
}

bool ReadPortableProject(Project& project, const std::string& path, std::string* error) {
    const std::string folder = FolderOf(path);
    PathResolver resolver(folder);
    if (!ReadProjectFile(project, path, resolver, error))
        return false;
    project.folder = folder;
    return true;
}

bool WritePortableProject(Project& project, const std::string& path, const std::string& folder,
                          std::string* error) {
    const std::vector<std::string*> fields = AllBitmapFields(project);
    std::vector<std::string> held;
    held.reserve(fields.size());
    for (std::string* field : fields) {
        held.push_back(*field);
        *field = PortableBitmapPath(*field, folder);
    }
    const bool written = project.WriteProjectFile(path, error);
    for (std::size_t i = 0; i < fields.size(); ++i)
        *fields[i] = std::move(held[i]);
    if (written)
        project.folder = folder;
    return written;
}

} // namespace tav
