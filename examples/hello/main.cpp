#include "HelloScreens.h"

#include <TavCtrls.h>

int APIENTRY WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int nCmdShow) {
    CTavApp app;
    if (app.doInit(hInstance, nCmdShow, "Hello", TAVAPP_WINDOW, 800, 600, 100, 100) != TAVERROR_OK) {
        MessageBox(app.GetHWND(), "Cannot open the window.", "Hello", MB_OK);
        return 1;
    }
    auto* screen = new HelloScreen;
    if (screen->Initialize(0) != TAVERROR_OK) {
        MessageBox(app.GetHWND(), "Cannot initialise the screen.", "Hello", MB_OK);
        return 1;
    }
    app.SetChildScreen(screen);
    app.SetShowFrameRate(TRUE);
    app.SetWaitBlank(TRUE);
    app.MyWinMain();
}
