#include "Settings.h"
#include <TavCtrls.h>
#include "Confirm.h"
#include "MainMenu.h"

Settings::Settings()
{
//Settings constructor
}

Settings::~Settings()
{
//Settings destructor
}

void Settings::AfterInitialize()
{
// This get called after screen has been initialized.
// Add your screen objects here. 

	SetBackgroundImage("art/listback.bmp", TAVBACK_TILE);

	CTavObject *obj0 = new CTavObject;
	obj0->Initialize(Settings_Frame, -10, -10, "art/bar.bmp", 820, 40, this);
	AddObject(obj0);

	CTavStatic *obj1 = new CTavStatic; 
	obj1->Initialize("Volume: drag the slider to change how loud the music plays.", Settings_VolumeLabel, 40, 80, 300, 60, this);
	obj1->SetMultiline(TRUE);
	obj1->SetBackColor(RGB(200, 200, 200));
	obj1->SetTextColor(RGB(0, 0, 0));
	obj1->SetFont("Verdana", 0, 15, 0);
	obj1->SetTextExtent(0, 0);
	AddObject(obj1);

	CTavCheckBox *obj2 = new CTavCheckBox; 
	obj2->Initialize("Music", Settings_MusicCheck, 40, 160, 140, 18, this, "art/checkyes.bmp", "art/checkno.bmp");
	obj2->SetBackColor(RGB(200, 200, 200));
	obj2->SetTextColor(RGB(0, 0, 0));
	obj2->SetFont("Verdana", 0, 15, 0);
	AddObject(obj2);

	CTavButton *obj3 = new CTavButton;
	obj3->Initialize("Reset", Settings_ConfirmButton, 40, 200, 120, 30, this, "art/buttonnormal.bmp", "art/buttonover.bmp", "art/buttondown.bmp");
	obj3->SetTextColor(RGB(30, 40, 52));
	obj3->SetFont("Verdana", 0, 15, FW_BOLD);
	obj3->SetTextOffset(34, 6);
	AddObject(obj3); 

	CTavButton *obj4 = new CTavButton;
	obj4->Initialize("Back", Settings_BackButton, 40, 540, 120, 30, this, "art/buttonnormal.bmp", "art/buttonover.bmp", "art/buttondown.bmp");
	obj4->SetTextColor(RGB(30, 40, 52));
	obj4->SetFont("Verdana", 0, 15, FW_BOLD);
	obj4->SetTextOffset(-2, 6);
	AddObject(obj4); 

}

BOOL Settings::OnButtonDown(DWORD bID)
{
// This get called after a button has been pressed.
// bID is the id of the button.
// You can call ((CTavButton*)GetObjectByID(bID)) to get the pointer to this button
// If you terminate the screen or the application here, return TRUE, otherwise FALSE
// Add your custom handling here. 
	if (bID == Settings_ConfirmButton)
	{
		Confirm* scr = new Confirm;
		scr->Initialize(0,250, 200, 300, 200, TAVSCREEN_POPUP, this);
		SetChildScreen(scr);
		RemoveChildScreen();
	}
	else if (bID == Settings_BackButton)
	{
		MainMenu* scr = new MainMenu;
		scr->Initialize(0,0, 0, 800, 600, TAVSCREEN_POPUP, this);
		SetChildScreen(scr);
		RemoveChildScreen();
	}
	return FALSE;
}

void Settings::OnObjectGotFocus(DWORD oID)
{
// This gets called when one of the screen's objects received focus.
// oID is the id of the object that received focus. 
// Add your custom handling code here
}

void Settings::OnObjectLostFocus(DWORD oID)
{
// This gets called when one of the screen's objects loses focus.
// oID is the id of the object that lost focus. 
// Add your custom handling code here
}

void Settings::OnCheckBoxClick(DWORD cID, BOOL newValue)
{
// This get called when a check box is clicked. 
// cID is the id of the checkbox and newValue is its new value
// Add you custom handling code here
}

BOOL Settings::OnMenuItemClicked(const char* topItem, const char* subItem)
{
// This get called when on of the menu item is clicked
// subItem is the name of the item that got clicked
// topItem is the name of the parent item on the menu 
// If you terminate the screen or the application here, return TRUE, otherwise FALSE
// Add your custom handling code here
	return FALSE;
}

void Settings::AfterTreeCntrlDoubleClicked(DWORD tID, int itemID)
{
// This get called when an item in the tree control get double clicked
// tID is the id of the tree control 
// itemID is the id of the item in the tree control that got double clicked
// Add your custom handling code here
}

void Settings::AfterTreeCntrlSelectionChanged(DWORD tID, int itemID)
{
// This get called when selection in the tree control changes
// tID is the id of the tree control
// itemID is the id of the newly selected item in the tree control
// Add your custom handling code here
}

void Settings::OnTreeCntrlItemRightClick(DWORD tID, int itemID)
{
//This get called when an item in the tree control gets right clicked.
//tID is the id of the tree control. itemID is the id of the item that was clicked.
//Add  your custom handling code here
}

void Settings::OnListBoxItemChange(DWORD lID, int item)
{
// This gets called when list box's item selection changes
// lID is the id of the list box
// item is the index of the newly selected item 
// Add your custom handling code here
}

void Settings::OnListBoxItemDoubleClicked(DWORD lID, int item)
{
// This get called when an item in the list box gets double clicked
// lID is the id of the list box
// item is the index of the double clicked item in the list box
// Add your custom handling code here
}

void Settings::OnListBoxItemRightClicked(DWORD lID, int item)
{
//This get called when an item in the list box gets right clicked.
//lID is the id of the list box and item is the index of the item that got clicked.
//Add you custom handling code here
}

void Settings::AfterSetScrollPosition(int oldX, int oldY, int newX, int newY)
{
// This get called when screen's scroll bars (if any) are moved
// oldX and oldY are the position of the scrollbars before they moved
// newX and newY are scroll bar's current position
// Add your custom handling code here
}

void Settings::AfterBackBufferRedrawn()
{
// This get called after back buffer is redrawn. 
// Add you custom drawing code here
// You can get a pointer to the screen's surface by calling GetSurface()
}

void Settings::AfterRestore()
{
// This get called after surfaces get restored 
// Restore any custom surfaces here
}

void Settings::AfterSetPosition(int x, int y)
{
// This get called after screen's position changes
// x and y are screen's new position
// Add you custom handling code here
}

void Settings::AfterSetWidth(int w)
{
// This gets called after screen's width changes
// Add your custom handling code here
}

void Settings::AfterSetHeight(int h)
{
// This gets called after screen's height changes
// Add your custom handling code here
}

void Settings::AfterFinish()
{
// This get called after screen has been destroyed
// Delete any custom objects here
}

void Settings::AfterDisplay(CTavSurface *sur)
{
// This get called after screen has been drawn
// sur is the destination surface
// Add your custom drawing code here
}

void Settings::AfterMouseMove(int x, int y)
{
// This get called after a mouse move message
// Add your custom handling code here
}

void Settings::AfterLMouseDown(int x, int y)
{
// This get called after a left mouse down message
// Add your custom handling code here
}

void Settings::AfterLMouseUp(int x, int y)
{
// This get called after a left mouse up message
// Add your custom handling code here
}

void Settings::AfterRMouseDown(int x, int y)
{
//This get called after right mouse down message
//Add your custom handling code here
}

void Settings::AfterRMouseUp(int x, int y)
{
//This get called after right mouse up message
//Add your custom handling code here
}

void Settings::AfterKeyDown(UINT nChar)
{
// This get called after a key down message
// Add your custom handling code here
}

void Settings::AfterDoubleClick(int x, int y)
{
// This get called after a double click message
// Add your custom handling code here
}

void Settings::AfterChar(char c)
{
// This get called after a WM_CHAR message
// Add your custom handling code here
}

BOOL Settings::OnObjectLMouseDown(DWORD oID)
{
//This get called on left mouse down over object.
//oID is the id of the object
//This function should return TRUE if an object, screen or application is destroyed
//Add your custom handling code here
	return FALSE;
}

BOOL Settings::OnObjectLMouseUp(DWORD oID)
{
//This get called on left mouse up over object.
//oID is the id of the object
//This function should return TRUE if an object, screen or application is destroyed
//Add your custom handling code here
	return FALSE;
}

BOOL Settings::OnObjectRMouseDown(DWORD oID)
{
//This get called on right mouse down over object.
//oID is the id of the object
//This function should return TRUE if an object, screen or application is destroyed
//Add your custom handling code here
	return FALSE;
}

BOOL Settings::OnObjectRMouseUp(DWORD oID)
{
//This get called on right mouse up over object.
//oID is the id of the object
//This function should return TRUE if an object, screen or application is destroyed
//Add your custom handling code here
	return FALSE;
}

void Settings::OnPopupMenuItemClicked(const char* item)
{
//This get called when an item was clicked in a popup menu
//Add your custom handling code here
}

