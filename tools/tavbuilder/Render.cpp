#include "Render.h"

#include "builder/DesignView.h"
#include "builder/PreviewScreen.h"
#include "builder/ProjectViews.h"
#include "model/BitmapPaths.h"
#include "model/Project.h"
#include "tavctrls/TavCtrls.h"
#include "tavctrls/TavPicture.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

namespace tav::builder {
namespace {

namespace fs = std::filesystem;

constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;
constexpr const char* kUsage = "usage: tavbuilder --render PROJECT.tvp OUTDIR [--screen NAME]\n";

// The words of the command line; double quotes keep spaces inside one word.
std::vector<std::string> SplitWords(const char* commandLine) {
    std::vector<std::string> words;
    std::string word;
    bool inWord = false, quoted = false;
    for (const char* c = commandLine; *c != '\0'; ++c) {
        if (*c == '"') {
            quoted = !quoted;
            inWord = true;
        } else if (*c == ' ' && !quoted) {
            if (inWord)
                words.push_back(word);
            word.clear();
            inWord = false;
        } else {
            word += *c;
            inWord = true;
        }
    }
    if (inWord)
        words.push_back(word);
    return words;
}

int Fail(int status, const std::string& message) {
    std::fprintf(stderr, "tavbuilder: %s\n", message.c_str());
    return status;
}

// The preview as SCREEN > Full Screen builds it: the design view over the whole window.
struct Preview {
    CTavApp app;
    PreviewScreen* screen = nullptr;
    DesignView* view = nullptr;

    bool Open() {
        TavUseOffscreenDisplay();
        if (app.doInit(nullptr, 0, "Tavrin Controls Builder", TAVAPP_WINDOW, 800, 600, 0, 0, 24) !=
            TAVERROR_OK)
            return false;
        app.SetShowFrameRate(FALSE);
        screen = new PreviewScreen;
        if (screen->Initialize(0, 0, 0, 800, 600, TAVSCREEN_FULLSCREEN, nullptr) != TAVERROR_OK ||
            app.SetChildScreen(screen) != TAVERROR_OK) {
            TavDeleteScreen(screen);
            return false;
        }
        view = new DesignView;
        if (view->Initialize(0, 0, 0, 550, 450, TAVSCREEN_SUBSCREEN, screen) != TAVERROR_OK ||
            screen->AddSubScreen(view) != TAVERROR_OK) {
            TavDeleteScreen(view);
            view = nullptr;
            return false;
        }
        return true;
    }
};

} // namespace

std::optional<int> RunRenderCommand(const char* commandLine) {
    const std::vector<std::string> words = SplitWords(commandLine != nullptr ? commandLine : "");
    if (words.empty() || words.front() != "--render")
        return std::nullopt;
    std::vector<std::string> positional;
    std::optional<std::string> only;
    for (std::size_t i = 1; i < words.size(); ++i) {
        if (words[i] == "--screen" && i + 1 < words.size())
            only = words[++i];
        else if (words[i].starts_with("--"))
            return Fail(kExitUsage, "unknown option '" + words[i] + "'\n" + kUsage);
        else
            positional.push_back(words[i]);
    }
    if (positional.size() != 2)
        return Fail(kExitUsage, std::string("--render needs a project file and a folder\n") + kUsage);
    const std::string& projectPath = positional[0];
    const fs::path outFolder = positional[1];

    Project project;
    std::string error;
    if (!ReadPortableProject(project, projectPath, &error))
        return Fail(kExitUsage, error);
    if (only && project.FindScreen(*only) == nullptr)
        return Fail(kExitUsage, "the project has no screen named '" + *only + "'");
    std::error_code failed;
    // A missing folder is made (its parent must exist); anything else that is not a folder is refused.
    if (!fs::exists(fs::symlink_status(outFolder, failed)))
        fs::create_directory(outFolder, failed);
    if (!fs::is_directory(outFolder, failed))
        return Fail(kExitUsage,
                    outFolder.string().insert(0, 1, '\'') + "' is not a folder and cannot be made one");

    Preview preview;
    if (!preview.Open())
        return Fail(kExitFailed, "cannot draw offscreen");
    for (const auto& screen : project.screens) {
        if (only && screen->name != *only)
            continue;
        if (screen->name.empty() || screen->name == "." || screen->name == ".." ||
            screen->name.find('/') != std::string::npos)
            return Fail(kExitFailed, "the screen name '" + screen->name + "' cannot name a picture file");
        ShowScreenInView(&project, preview.view, screen->name, true, nullptr, preview.screen);
        preview.app.UpdateFrame();
        const std::string picture = (outFolder / (screen->name + ".png")).string();
        if (!TavSaveSurfacePng(preview.app.GetBackBuffer(), picture.c_str(), &error))
            return Fail(kExitUsage, picture + ": " + error);
    }
    return 0;
}

} // namespace tav::builder
