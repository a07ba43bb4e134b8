#include "builder/Choosers.h"

#include "builder/FileChooser.h"
#include "model/BitmapPaths.h"

namespace tav::builder {
namespace {

std::optional<std::string> RunChooser(CTavScreen* parent, FileChooser::Mode mode, const std::string& start) {
    return DialogKit::Run(parent, new FileChooser(mode, start), [](const FileChooser& done) {
        return done.confirmed ? std::optional<std::string>(done.resultPath) : std::nullopt;
    });
}

} // namespace

std::optional<std::string> ChooseBitmapFile(CTavScreen* parent, const std::string& startFolder) {
    return RunChooser(parent, FileChooser::Mode::BitmapFile, startFolder);
}

std::optional<std::string> ChooseBitmapFor(CTavScreen* parent, const std::string& current,
                                           const std::string& projectFolder) {
    const std::string named = ResolvedBitmapPath(current, projectFolder);
    return ChooseBitmapFile(parent, PathInside(named, projectFolder).empty() ? projectFolder : named);
}

std::optional<std::string> ChooseFolder(CTavScreen* parent, const std::string& startFolder) {
    return RunChooser(parent, FileChooser::Mode::Folder, startFolder);
}

} // namespace tav::builder
