// A screen with one button, made only from TavCtrls.h. It echoes its command line and reports clicks on
// standard output, and fails when the library's bitmaps are not beside it.
#include <TavCtrls.h>

#include <cstdio>

namespace {

constexpr DWORD kButton = 1;

class ButtonScreen : public CTavScreen {
public:
    void AfterInitialize() override {
        auto* button = new CTavButton;
        result = button->Initialize("Press", kButton, 100, 80, 120, 36, this, "art//buttonnormal.bmp",
                                    "art//buttonover.bmp", "art//buttondown.bmp");
        if (result != TAVERROR_OK) {
            delete button;
            return;
        }
        button->SetFont("DejaVu Sans", 0, 16, FW_BOLD);
        button->SetTextOffset(30, 9);
        AddObject(button);
    }

    BOOL OnButtonDown(DWORD bID) override {
        if (bID == kButton) {
            std::printf("clicked\n");
            std::fflush(stdout);
        }
        return FALSE;
    }

    DWORD result = TAVERROR_OK;
};

} // namespace

int APIENTRY WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR lpCmdLine, int nCmdShow) {
    std::printf("command line: [%s]\n", lpCmdLine);
    std::fflush(stdout);
    CTavApp app;
    if (app.doInit(hInstance, nCmdShow, "Consumer", TAVAPP_WINDOW, 320, 200) != TAVERROR_OK) {
        std::fprintf(stderr, "doInit failed\n");
        return 1;
    }
    auto* screen = new ButtonScreen;
    if (screen->Initialize(0) != TAVERROR_OK || screen->result != TAVERROR_OK) {
        std::fprintf(stderr, "the screen failed with error %u\n", static_cast<unsigned>(screen->result));
        return 1;
    }
    app.SetChildScreen(screen);
    app.MyWinMain();
}
