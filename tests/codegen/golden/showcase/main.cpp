#include <TavCtrls.h>
#include "Showcase.h"
#include "MainMenu.h"

int APIENTRY WinMain(HINSTANCE hInstance,
                     HINSTANCE hPrevInstance,
                     LPSTR lpCmdLine,
                     int nCmdShow)
{
	Showcase app;
	if(app.doInit(hInstance, nCmdShow, "Showcase", TAVAPP_WINDOW,800,600,40,30) != TAVERROR_OK)
	{
		MessageBox(app.GetHWND(), "Error Initializing DirectX. Please make sure that you have DirectX installed and your monitor is capable of at least 800x600x32 resolution","Showcase", MB_OK);
		return 0; 
	}

	MainMenu *scr = new MainMenu;
	if (scr->Initialize(0) != TAVERROR_OK)
	{
		MessageBox(app.GetHWND(), "Error Initializing startup screen", "Showcase", MB_OK);
		return 0; 
	}
	app.SetChildScreen(scr);

	app.SetShowFrameRate(TRUE); 

	app.SetWaitBlank(FALSE);

	app.MyWinMain();

	return 0; 
}