#include "builder/BuilderEntry.h"

#include "builder/BuilderApp.h"
#include "builder/MainScreen.h"

#include <cstring>

namespace tav::builder {

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;
// Longer command lines than this also show the frame rate.
constexpr std::size_t kFrameRateCommandLength = 5;

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

} // namespace

int RunBuilder(HINSTANCE hInstance, const char* commandLine, int nCmdShow) {
    const std::size_t length = commandLine != nullptr ? std::strlen(commandLine) : 0;
    BuilderApp app;
    if (OpenDisplay(app, hInstance, nCmdShow, length > 0) != TAVERROR_OK) {
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
    app.SetShowFrameRate(length > kFrameRateCommandLength ? TRUE : FALSE);
    app.SetWaitBlank(TRUE);
    main->OfferRecovery();
    app.MyWinMain();
}

} // namespace tav::builder
