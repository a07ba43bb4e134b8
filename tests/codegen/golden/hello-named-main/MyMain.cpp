#include <TavCtrls.h>
#include "main.h"
#include "Welcome.h"

int APIENTRY WinMain(HINSTANCE hInstance,
                     HINSTANCE hPrevInstance,
                     LPSTR lpCmdLine,
                     int nCmdShow)
{
	main app;
	if(app.doInit(hInstance, nCmdShow, "main", TAVAPP_WINDOW,640,480,100,80) != TAVERROR_OK)
	{
		MessageBox(app.GetHWND(), "Error Initializing DirectX. Please make sure that you have DirectX installed and your monitor is capable of at least 640x480x32 resolution","main", MB_OK);
		return 0; 
	}

	Welcome *scr = new Welcome;
	if (scr->Initialize(0) != TAVERROR_OK)
	{
		MessageBox(app.GetHWND(), "Error Initializing startup screen", "main", MB_OK);
		return 0; 
	}
	app.SetChildScreen(scr);

	app.SetShowFrameRate(FALSE); 

	app.SetWaitBlank(TRUE);

	app.MyWinMain();

	return 0; 
}