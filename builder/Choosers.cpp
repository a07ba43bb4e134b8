#include "builder/Choosers.h"

#include "builder/FileChooser.h"

#include <algorithm>

namespace tav::builder {
namespace {

constexpr DWORD kChooserScreenId = 0x7A0C;

// A popup is drawn into the screen it is shown over, so it is sized to fit that screen and centred on it.
int Place(int hostSize, int size) {
    return std::max(0, (hostSize - size) / 2);
}

std::optional<std::string> RunChooser(CTavScreen* parent, FileChooser::Mode mode, const std::string& start) {
    if (parent == nullptr)
        return std::nullopt;
    CTavScreen* host = parent->GetInnermostScreen();
    const int w = std::min(FileChooser::PreferredWidth(mode), host->GetWidth());
    const int h = std::min(FileChooser::PreferredHeight(), host->GetHeight());
    auto* chooser = new FileChooser(mode, start);
    if (chooser->Initialize(kChooserScreenId, Place(host->GetWidth(), w), Place(host->GetHeight(), h), w, h,
                            TAVSCREEN_POPUP, host) != TAVERROR_OK ||
        host->SetChildScreen(chooser) != TAVERROR_OK) {
        chooser->Finish();
        delete chooser;
        return std::nullopt;
    }
    std::optional<std::string> result;
    if (chooser->confirmed)
        result = chooser->resultPath;
    host->RemoveChildScreen();
    return result;
}

} // namespace

std::optional<std::string> ChooseBitmapFile(CTavScreen* parent, const std::string& startFolder) {
    return RunChooser(parent, FileChooser::Mode::BitmapFile, startFolder);
}

std::optional<std::string> ChooseFolder(CTavScreen* parent, const std::string& startFolder) {
    return RunChooser(parent, FileChooser::Mode::Folder, startFolder);
}

} // namespace tav::builder
