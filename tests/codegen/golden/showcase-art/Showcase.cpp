#include "Showcase.h"
#include <TavCtrls.h>
#include "MainMenu.h"

Showcase::Showcase()
{
//Showcase constructor
}

Showcase::~Showcase()
{
//Showcase destructor
}

void Showcase::AfterUpdateFrame(CTavSurface* backSurface)
{
// This function gets called after CTavApp finished drawing to back surface.
// Add you custom drawing here.
}

void Showcase::AfterMouseMove(int x, int y)
{
// This function gets called on mouse move message. 
// Add your custom handling here
}

void Showcase::AfterLMouseUp(int x, int y)
{
// This function gets called on left mouse button up message. 
// Add your custom handling here
}

void Showcase::AfterLMouseDown(int x, int y)
{
// This function gets called on left mouse button down message. 
// Add your custom handling here
}

void Showcase::AfterKeyDown(UINT nChar)
{
// This function gets called on key down message. 
// Add your custom handling here
}

void Showcase::AfterDoubleClick(int x, int y)
{
// This function gets called on left mouse double click message. 
// Add your custom handling here
}

void Showcase::AfterChar(char c)
{
// This function gets called on WM_CHAR message. 
// Add your custom handling here
}

void Showcase::AfterProcessMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
// This function get called after any message is received. 
// Add you custom handling here
// NOTE: If you processed a message in other virtual functions such as 
// AfterChar(char), do not handle it here.
}

BOOL Showcase::OnCloseMessage()
{
//This get called on WM_CLOSE message
//Return TRUE if you want application to exit, FALSE if not. 
	return TRUE;
}

