#include "Clicks.h"
#include <TavCtrls.h>
#include "Main.h"

Clicks::Clicks()
{
//Clicks constructor
}

Clicks::~Clicks()
{
//Clicks destructor
}

void Clicks::AfterUpdateFrame(CTavSurface* backSurface)
{
// This function gets called after CTavApp finished drawing to back surface.
// Add you custom drawing here.
}

void Clicks::AfterMouseMove(int x, int y)
{
// This function gets called on mouse move message. 
// Add your custom handling here
}

void Clicks::AfterLMouseUp(int x, int y)
{
// This function gets called on left mouse button up message. 
// Add your custom handling here
}

void Clicks::AfterLMouseDown(int x, int y)
{
// This function gets called on left mouse button down message. 
// Add your custom handling here
}

void Clicks::AfterKeyDown(UINT nChar)
{
// This function gets called on key down message. 
// Add your custom handling here
}

void Clicks::AfterDoubleClick(int x, int y)
{
// This function gets called on left mouse double click message. 
// Add your custom handling here
}

void Clicks::AfterChar(char c)
{
// This function gets called on WM_CHAR message. 
// Add your custom handling here
}

void Clicks::AfterProcessMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
// This function get called after any message is received. 
// Add you custom handling here
// NOTE: If you processed a message in other virtual functions such as 
// AfterChar(char), do not handle it here.
}

BOOL Clicks::OnCloseMessage()
{
//This get called on WM_CLOSE message
//Return TRUE if you want application to exit, FALSE if not. 
	return TRUE;
}

