#include <TavCtrls.h>
#include "Clicks.h"
#include "Main.h"

int APIENTRY WinMain(HINSTANCE hInstance,
                     HINSTANCE hPrevInstance,
                     LPSTR lpCmdLine,
                     int nCmdShow)
{
	Clicks app;
	if(app.doInit(hInstance, nCmdShow, "Clicks", TAVAPP_WINDOW,400,300,10,10) != TAVERROR_OK)
	{
		MessageBox(app.GetHWND(), "Error Initializing DirectX. Please make sure that you have DirectX installed and your monitor is capable of at least 400x300x24 resolution","Clicks", MB_OK);
		return 0; 
	}

	Main *scr = new Main;
	if (scr->Initialize(0) != TAVERROR_OK)
	{
		MessageBox(app.GetHWND(), "Error Initializing startup screen", "Clicks", MB_OK);
		return 0; 
	}
	app.SetChildScreen(scr);

	app.SetShowFrameRate(FALSE); 

	app.SetWaitBlank(FALSE);

	app.MyWinMain();

	return 0; 
}