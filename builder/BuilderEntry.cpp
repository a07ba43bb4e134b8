#include "builder/BuilderEntry.h"

#include "builder/BuilderApp.h"
#include "builder/MainScreen.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <filesystem>

namespace tav::builder {

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;
// Longer command lines than this also show the frame rate.
constexpr std::size_t kFrameRateCommandLength = 5;
constexpr int kLargestScale = 8;
constexpr int kExitUsage = 2;

constexpr const char* kUsage = "usage: tavbuilder [OPTIONS] [PROJECT.tvp]\n";
constexpr const char* kHelp =
    "usage: tavbuilder [OPTIONS] [PROJECT.tvp]\n"
    "       tavbuilder --render PROJECT.tvp OUTDIR [--screen NAME]\n"
    "The Tavrin Controls Builder screen designer, with PROJECT.tvp open when given.\n"
    "  --fullscreen  use the whole display (without arguments too)\n"
    "  --window      run in a window (any other argument too)\n"
    "  --scale N     start the window at N times 800 x 600 (N from 1 to 8) and\n"
    "                keep that factor when it grows\n"
    "  --help        show this help and end\n"
    "  --version     show the version and end\n"
    "--render draws the project's screens into OUTDIR/SCREEN.png without a window.\n";

bool IsProjectPath(const std::string& argument) {
    std::string ending = argument.size() >= 4 ? argument.substr(argument.size() - 4) : "";
    std::transform(ending.begin(), ending.end(), ending.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    std::error_code failed;
    return ending == ".tvp" || std::filesystem::is_regular_file(argument, failed);
}

// A whole factor from 1 to 8, the whole text a number; 0 when it is none.
int ScaleOf(const std::string& text) {
    int factor = 0;
    const auto [end, failed] = std::from_chars(text.data(), text.data() + text.size(), factor);
    return failed == std::errc() && end == text.data() + text.size() && factor >= 1 && factor <= kLargestScale
               ? factor
               : 0;
}

DWORD OpenDisplay(BuilderApp& app, HINSTANCE hInstance, int nCmdShow, bool windowed) {
    if (windowed)
        return app.doInit(hInstance, nCmdShow, "Tavrin Controls Builder", TAVAPP_WINDOW, kWidth, kHeight, 0,
                          0, 24);
    DWORD result = TAVERROR_DIRECTDRAW;
    for (int depth : {24, 32, 16}) {
        result = app.doInit(hInstance, nCmdShow, "TAVRIN", TAVAPP_FULLSCREEN, kWidth, kHeight, 0, 0, depth);
        if (result == TAVERROR_OK)
            break;
    }
    return result;
}

// The project's path from wherever the designer later saves or lists it.
std::string Absolute(const std::string& path) {
    std::error_code failed;
    const std::filesystem::path absolute = std::filesystem::absolute(path, failed);
    return failed ? path : absolute.lexically_normal().string();
}

} // namespace

BuilderOptions ParseBuilderOptions(const std::vector<std::string>& arguments) {
    BuilderOptions options;
    const auto end = [&](int status, const std::string& message) {
        options.exitStatus = status;
        options.message = message;
        return options;
    };
    bool fullscreen = false, optionsEnded = false;
    std::string others; // the arguments that are not ours, joined as the command line once was
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        const bool option = !optionsEnded && argument.starts_with("--");
        if (option && argument == "--") {
            optionsEnded = true;
        } else if (option && argument == "--help") {
            return end(0, kHelp);
        } else if (option && argument == "--version") {
            return end(0, "tavbuilder (Tavrin Controls Builder) " TAV_VERSION "\n");
        } else if (option && (argument == "--fullscreen" || argument == "--window")) {
            fullscreen = argument == "--fullscreen";
        } else if (option && (argument == "--scale" || argument.starts_with("--scale="))) {
            const bool separate = argument == "--scale";
            const std::string value = !separate                  ? argument.substr(8)
                                      : i + 1 < arguments.size() ? arguments[++i]
                                                                 : "";
            options.scale = ScaleOf(value);
            if (options.scale == 0)
                return end(kExitUsage, "tavbuilder: --scale needs a whole number from 1 to 8" +
                                           (value.empty() ? std::string() : ", not '" + value + "'") + "\n" +
                                           kUsage);
        } else if ((optionsEnded || !argument.starts_with("-")) && IsProjectPath(argument)) {
            if (!options.project.empty())
                return end(kExitUsage, "tavbuilder: one project file at most, not '" + options.project +
                                           "' and '" + argument + "'\n" + kUsage);
            options.project = argument;
        } else {
            others += (others.empty() ? "" : " ") + argument;
        }
    }
    options.windowed = !arguments.empty() && !fullscreen;
    options.frameRate = others.size() > kFrameRateCommandLength;
    return options;
}

int RunBuilder(HINSTANCE hInstance, const BuilderOptions& options, int nCmdShow) {
    BuilderApp app;
    app.SetWindowScale(options.scale);
    if (OpenDisplay(app, hInstance, nCmdShow, options.windowed) != TAVERROR_OK) {
        // The application on the stack tidies itself up once, on return.
        ::MessageBox(app.GetHWND(), "Error Initializing DirectX", "Error", 0);
        return 0;
    }
    auto* main = new MainScreen;
    if (main->Initialize(0, 0, 0, 0, 0, TAVSCREEN_FULLSCREEN, nullptr) != TAVERROR_OK ||
        app.SetChildScreen(main) != TAVERROR_OK) {
        TavDeleteScreen(main);
        ::MessageBox(app.GetHWND(), "Error Initializing DirectX", "Error", 0);
        return 0;
    }
    app.SetShowFrameRate(options.frameRate ? TRUE : FALSE);
    app.SetWaitBlank(TRUE);
    // An unreadable file is reported by the main screen, which goes on without a project.
    if (!options.project.empty())
        main->OpenProjectFile(Absolute(options.project));
    main->OfferRecovery();
    app.MyWinMain();
}

} // namespace tav::builder
