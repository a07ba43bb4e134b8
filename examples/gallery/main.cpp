#include "GalleryScreens.h"

#include <TavCtrls.h>

int APIENTRY WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int nCmdShow) {
    CTavApp app;
    if (app.doInit(hInstance, nCmdShow, "Gallery", TAVAPP_WINDOW, 800, 600, 80, 60) != TAVERROR_OK) {
        MessageBox(app.GetHWND(), "Cannot open the window.", "Gallery", MB_OK);
        return 1;
    }
    auto* screen = new GalleryScreen;
    screen->app = &app;
    if (screen->Initialize(0) != TAVERROR_OK) {
        MessageBox(app.GetHWND(), "Cannot initialise the screen.", "Gallery", MB_OK);
        return 1;
    }
    app.SetChildScreen(screen);
    app.SetShowFrameRate(FALSE);
    app.MyWinMain();
}
