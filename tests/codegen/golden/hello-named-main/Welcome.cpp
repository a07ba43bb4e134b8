#include "Welcome.h"
#include <TavCtrls.h>
#include "Greeting.h"

Welcome::Welcome()
{
//Welcome constructor
}

Welcome::~Welcome()
{
//Welcome destructor
}

void Welcome::AfterInitialize()
{
// This get called after screen has been initialized.
// Add your screen objects here. 

	SetBackgroundImage("art/dback.bmp", TAVBACK_STRETCH);

	CTavStatic *obj0 = new CTavStatic; 
	obj0->Initialize("Hello from TavCtrls", Welcome_Title, 170, 60, 300, 30, this);
	obj0->SetMultiline(FALSE);
	obj0->SetBackColor(RGB(0, 0, 0));
	obj0->SetTransparent(TRUE, obj0->GetBackColor());
	obj0->SetTextColor(RGB(255, 255, 255));
	obj0->SetFont("Verdana", 0, 24, FW_BOLD);
	obj0->SetTextExtent(0, 0);
	AddObject(obj0);

	CTavButton *obj1 = new CTavButton;
	obj1->Initialize("Say hello", Welcome_GreetButton, 260, 220, 120, 30, this, "art/buttonnormal.bmp", "art/buttonover.bmp", "art/buttondown.bmp");
	obj1->SetTextColor(RGB(30, 40, 52));
	obj1->SetFont("Verdana", 0, 15, FW_BOLD);
	obj1->SetTextOffset(18, 6);
	AddObject(obj1); 

}

BOOL Welcome::OnButtonDown(DWORD bID)
{
// This get called after a button has been pressed.
// bID is the id of the button.
// You can call ((CTavButton*)GetObjectByID(bID)) to get the pointer to this button
// If you terminate the screen or the application here, return TRUE, otherwise FALSE
// Add your custom handling here. 
	if (bID == Welcome_GreetButton)
	{
		Greeting* scr = new Greeting;
		scr->Initialize(0,170, 140, 300, 200, TAVSCREEN_POPUP, this);
		SetChildScreen(scr);
		RemoveChildScreen();
	}
	return FALSE;
}

void Welcome::OnObjectGotFocus(DWORD oID)
{
// This gets called when one of the screen's objects received focus.
// oID is the id of the object that received focus. 
// Add your custom handling code here
}

void Welcome::OnObjectLostFocus(DWORD oID)
{
// This gets called when one of the screen's objects loses focus.
// oID is the id of the object that lost focus. 
// Add your custom handling code here
}

void Welcome::OnCheckBoxClick(DWORD cID, BOOL newValue)
{
// This get called when a check box is clicked. 
// cID is the id of the checkbox and newValue is its new value
// Add you custom handling code here
}

BOOL Welcome::OnMenuItemClicked(const char* topItem, const char* subItem)
{
// This get called when on of the menu item is clicked
// subItem is the name of the item that got clicked
// topItem is the name of the parent item on the menu 
// If you terminate the screen or the application here, return TRUE, otherwise FALSE
// Add your custom handling code here
	return FALSE;
}

void Welcome::AfterTreeCntrlDoubleClicked(DWORD tID, int itemID)
{
// This get called when an item in the tree control get double clicked
// tID is the id of the tree control 
// itemID is the id of the item in the tree control that got double clicked
// Add your custom handling code here
}

void Welcome::AfterTreeCntrlSelectionChanged(DWORD tID, int itemID)
{
// This get called when selection in the tree control changes
// tID is the id of the tree control
// itemID is the id of the newly selected item in the tree control
// Add your custom handling code here
}

void Welcome::OnTreeCntrlItemRightClick(DWORD tID, int itemID)
{
//This get called when an item in the tree control gets right clicked.
//tID is the id of the tree control. itemID is the id of the item that was clicked.
//Add  your custom handling code here
}

void Welcome::OnListBoxItemChange(DWORD lID, int item)
{
// This gets called when list box's item selection changes
// lID is the id of the list box
// item is the index of the newly selected item 
// Add your custom handling code here
}

void Welcome::OnListBoxItemDoubleClicked(DWORD lID, int item)
{
// This get called when an item in the list box gets double clicked
// lID is the id of the list box
// item is the index of the double clicked item in the list box
// Add your custom handling code here
}

void Welcome::OnListBoxItemRightClicked(DWORD lID, int item)
{
//This get called when an item in the list box gets right clicked.
//lID is the id of the list box and item is the index of the item that got clicked.
//Add you custom handling code here
}

void Welcome::AfterSetScrollPosition(int oldX, int oldY, int newX, int newY)
{
// This get called when screen's scroll bars (if any) are moved
// oldX and oldY are the position of the scrollbars before they moved
// newX and newY are scroll bar's current position
// Add your custom handling code here
}

void Welcome::AfterBackBufferRedrawn()
{
// This get called after back buffer is redrawn. 
// Add you custom drawing code here
// You can get a pointer to the screen's surface by calling GetSurface()
}

void Welcome::AfterRestore()
{
// This get called after surfaces get restored 
// Restore any custom surfaces here
}

void Welcome::AfterSetPosition(int x, int y)
{
// This get called after screen's position changes
// x and y are screen's new position
// Add you custom handling code here
}

void Welcome::AfterSetWidth(int w)
{
// This gets called after screen's width changes
// Add your custom handling code here
}

void Welcome::AfterSetHeight(int h)
{
// This gets called after screen's height changes
// Add your custom handling code here
}

void Welcome::AfterFinish()
{
// This get called after screen has been destroyed
// Delete any custom objects here
}

void Welcome::AfterDisplay(CTavSurface *sur)
{
// This get called after screen has been drawn
// sur is the destination surface
// Add your custom drawing code here
}

void Welcome::AfterMouseMove(int x, int y)
{
// This get called after a mouse move message
// Add your custom handling code here
}

void Welcome::AfterLMouseDown(int x, int y)
{
// This get called after a left mouse down message
// Add your custom handling code here
}

void Welcome::AfterLMouseUp(int x, int y)
{
// This get called after a left mouse up message
// Add your custom handling code here
}

void Welcome::AfterRMouseDown(int x, int y)
{
//This get called after right mouse down message
//Add your custom handling code here
}

void Welcome::AfterRMouseUp(int x, int y)
{
//This get called after right mouse up message
//Add your custom handling code here
}

void Welcome::AfterKeyDown(UINT nChar)
{
// This get called after a key down message
// Add your custom handling code here
}

void Welcome::AfterDoubleClick(int x, int y)
{
// This get called after a double click message
// Add your custom handling code here
}

void Welcome::AfterChar(char c)
{
// This get called after a WM_CHAR message
// Add your custom handling code here
}

BOOL Welcome::OnObjectLMouseDown(DWORD oID)
{
//This get called on left mouse down over object.
//oID is the id of the object
//This function should return TRUE if an object, screen or application is destroyed
//Add your custom handling code here
	return FALSE;
}

BOOL Welcome::OnObjectLMouseUp(DWORD oID)
{
//This get called on left mouse up over object.
//oID is the id of the object
//This function should return TRUE if an object, screen or application is destroyed
//Add your custom handling code here
	return FALSE;
}

BOOL Welcome::OnObjectRMouseDown(DWORD oID)
{
//This get called on right mouse down over object.
//oID is the id of the object
//This function should return TRUE if an object, screen or application is destroyed
//Add your custom handling code here
	return FALSE;
}

BOOL Welcome::OnObjectRMouseUp(DWORD oID)
{
//This get called on right mouse up over object.
//oID is the id of the object
//This function should return TRUE if an object, screen or application is destroyed
//Add your custom handling code here
	return FALSE;
}

void Welcome::OnPopupMenuItemClicked(const char* item)
{
//This get called when an item was clicked in a popup menu
//Add your custom handling code here
}

