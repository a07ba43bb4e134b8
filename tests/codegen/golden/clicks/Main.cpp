#include "Main.h"
#include <TavCtrls.h>
#include "Pop.h"

Main::Main()
{
//Main constructor
}

Main::~Main()
{
//Main destructor
}

void Main::AfterInitialize()
{
// This get called after screen has been initialized.
// Add your screen objects here. 

	SetBackgroundImage("art/\"quoted\" \\ back?\?/.bmp", TAVBACK_CENTER);

	CTavButton *obj0 = new CTavButton;
	obj0->Initialize("\"Hi\" \\ */ ?\?/ ?\?= ?\?' é✓ /* end", Main_Open, 20, 20, 100, 30, this, "art/buttonnormal.bmp", "art/buttonover.bmp", "art/buttondown.bmp");
	obj0->SetTextColor(RGB(255, 0, 0));
	obj0->SetFont("Ver\"dana?\?=", 0, 15, FW_BOLD);
	obj0->SetTextOffset(0, 0);
	AddObject(obj0); 

	CTavButton *obj1 = new CTavButton;
	obj1->Initialize("Quit ?\?)", Main_Quit, 20, 240, 100, 30, this, "art/buttonnormal.bmp", "art/buttonover.bmp", "art/buttondown.bmp");
	obj1->SetTextColor(RGB(255, 0, 0));
	obj1->SetFont("Verdana", 0, 15, FW_BOLD);
	obj1->SetTextOffset(0, 0);
	AddObject(obj1); 

	CTavButton *obj2 = new CTavButton;
	obj2->Initialize("Done", Main_Done, 280, 240, 100, 30, this, "art/buttonnormal.bmp", "art/buttonover.bmp", "art/buttondown.bmp");
	obj2->SetTextColor(RGB(255, 0, 0));
	obj2->SetFont("Verdana", 0, 15, FW_BOLD);
	obj2->SetTextOffset(0, 0);
	AddObject(obj2); 

	CTavStatic *obj3 = new CTavStatic; 
	obj3->Initialize("\"Hi\" \\ */ ?\?/ ?\?= ?\?' é✓ /* end", Main_Label, 140, 20, 120, 20, this);
	obj3->SetMultiline(FALSE);
	obj3->SetBackColor(RGB(64, 255, 64));
	obj3->SetTextColor(RGB(255, 0, 0));
	obj3->SetFont("Verdana", 0, 15, 0);
	obj3->SetTextExtent(0, 0);
	AddObject(obj3);

	CTavEdit *obj4 = new CTavEdit; 
	obj4->Initialize("a\\b?\?!", Main_Field, 140, 210, 120, 20, this);
	obj4->SetMultiline(FALSE);
	obj4->SetBackColor(RGB(64, 255, 64));
	obj4->SetTextColor(RGB(255, 0, 0));
	obj4->SetFont("\\Mono\\", 0, 15, 0);
	obj4->SetTextExtent(0, 0);
	AddObject(obj4);

	CTavCheckBox *obj5 = new CTavCheckBox; 
	obj5->Initialize("?\?<x?\?>", Main_Tick, 280, 20, 100, 17, this, "art/checkyes.bmp", "art/checkno.bmp");
	obj5->SetBackColor(RGB(0, 0, 255));
	obj5->SetTextColor(RGB(255, 255, 0));
	obj5->SetFont("Verdana", 0, 15, 0);
	AddObject(obj5);

	CTavListBox *obj6 = new CTavListBox;
	obj6->Initialize(Main_List, 280, 60, 100, 60, this, "art/?\?-list\"x\".bmp");
	obj6->SetBackColor(RGB(128, 128, 128));
	obj6->SetFont("Verdana", 0, 15, 0);
	obj6->SetTextColor(RGB(0, 0, 0));
	obj6->SetColumnFont("Col?\?(", 0, 15, 0);
	obj6->SetColumnTextColor(RGB(255, 255, 255));
	obj6->SetSelectedColor(RGB(0, 255, 0));
	obj6->SetLineColor(RGB(0, 0, 255));
	obj6->SetColumnHeight(20);
	obj6->SetItemHeight(20);
	obj6->SetColumnBackColor(RGB(128, 128, 128));
	AddObject(obj6);

	CTavTree *obj7 = new CTavTree;
	obj7->Initialize(280, 130, Main_Tree, this, 100, 60, "t?\?/.bmp", "p\\.bmp", "m*/.bmp");
	obj7->SetTextColor(RGB(0, 0, 0));
	obj7->SetFontName("Tree?\?'font");
	obj7->SetFontHeight(15);
	obj7->SetItemBackColor(RGB(64, 255, 0));
	obj7->SetSelectedItemColor(RGB(255, 255, 192));
	obj7->SetItemHeight(20);
	obj7->SetTabSpace(10);
	AddObject(obj7);

	CTavAnimation *obj8 = new CTavAnimation; 
	obj8->Initialize(Main_Anim, 20, 80, 50, 50, this);
	obj8->AddFrame("f?\?=1.bmp");
	obj8->AddFrame("f\"2\".bmp");
	obj8->SetFrameFrequency(0.5);
	AddObject(obj8);
	CTavObject *obj9 = new CTavObject;
	obj9->Initialize(Main_Picture, 20, 150, "picé?\?/.bmp", 50, 50, this);
	AddObject(obj9);

}

BOOL Main::OnButtonDown(DWORD bID)
{
// This get called after a button has been pressed.
// bID is the id of the button.
// You can call ((CTavButton*)GetObjectByID(bID)) to get the pointer to this button
// If you terminate the screen or the application here, return TRUE, otherwise FALSE
// Add your custom handling here. 
	if (bID == Main_Open)
	{
		Pop* scr = new Pop;
		scr->Initialize(0,100, 50, 200, 150, TAVSCREEN_POPUP, this);
		SetChildScreen(scr);
		RemoveChildScreen();
	}
	else if (bID == Main_Quit)
	{
		TavPostClose();
		return TRUE;
	}
	else if (bID == Main_Done)
	{
		TavPostClose();
		return TRUE;
	}
	return FALSE;
}

void Main::OnObjectGotFocus(DWORD oID)
{
// This gets called when one of the screen's objects received focus.
// oID is the id of the object that received focus. 
// Add your custom handling code here
}

void Main::OnObjectLostFocus(DWORD oID)
{
// This gets called when one of the screen's objects loses focus.
// oID is the id of the object that lost focus. 
// Add your custom handling code here
}

void Main::OnCheckBoxClick(DWORD cID, BOOL newValue)
{
// This get called when a check box is clicked. 
// cID is the id of the checkbox and newValue is its new value
// Add you custom handling code here
}

BOOL Main::OnMenuItemClicked(const char* topItem, const char* subItem)
{
// This get called when on of the menu item is clicked
// subItem is the name of the item that got clicked
// topItem is the name of the parent item on the menu 
// If you terminate the screen or the application here, return TRUE, otherwise FALSE
// Add your custom handling code here
	return FALSE;
}

void Main::AfterTreeCntrlDoubleClicked(DWORD tID, int itemID)
{
// This get called when an item in the tree control get double clicked
// tID is the id of the tree control 
// itemID is the id of the item in the tree control that got double clicked
// Add your custom handling code here
}

void Main::AfterTreeCntrlSelectionChanged(DWORD tID, int itemID)
{
// This get called when selection in the tree control changes
// tID is the id of the tree control
// itemID is the id of the newly selected item in the tree control
// Add your custom handling code here
}

void Main::OnTreeCntrlItemRightClick(DWORD tID, int itemID)
{
//This get called when an item in the tree control gets right clicked.
//tID is the id of the tree control. itemID is the id of the item that was clicked.
//Add  your custom handling code here
}

void Main::OnListBoxItemChange(DWORD lID, int item)
{
// This gets called when list box's item selection changes
// lID is the id of the list box
// item is the index of the newly selected item 
// Add your custom handling code here
}

void Main::OnListBoxItemDoubleClicked(DWORD lID, int item)
{
// This get called when an item in the list box gets double clicked
// lID is the id of the list box
// item is the index of the double clicked item in the list box
// Add your custom handling code here
}

void Main::OnListBoxItemRightClicked(DWORD lID, int item)
{
//This get called when an item in the list box gets right clicked.
//lID is the id of the list box and item is the index of the item that got clicked.
//Add you custom handling code here
}

void Main::AfterSetScrollPosition(int oldX, int oldY, int newX, int newY)
{
// This get called when screen's scroll bars (if any) are moved
// oldX and oldY are the position of the scrollbars before they moved
// newX and newY are scroll bar's current position
// Add your custom handling code here
}

void Main::AfterBackBufferRedrawn()
{
// This get called after back buffer is redrawn. 
// Add you custom drawing code here
// You can get a pointer to the screen's surface by calling GetSurface()
}

void Main::AfterRestore()
{
// This get called after surfaces get restored 
// Restore any custom surfaces here
}

void Main::AfterSetPosition(int x, int y)
{
// This get called after screen's position changes
// x and y are screen's new position
// Add you custom handling code here
}

void Main::AfterSetWidth(int w)
{
// This gets called after screen's width changes
// Add your custom handling code here
}

void Main::AfterSetHeight(int h)
{
// This gets called after screen's height changes
// Add your custom handling code here
}

void Main::AfterFinish()
{
// This get called after screen has been destroyed
// Delete any custom objects here
}

void Main::AfterDisplay(CTavSurface *sur)
{
// This get called after screen has been drawn
// sur is the destination surface
// Add your custom drawing code here
}

void Main::AfterMouseMove(int x, int y)
{
// This get called after a mouse move message
// Add your custom handling code here
}

void Main::AfterLMouseDown(int x, int y)
{
// This get called after a left mouse down message
// Add your custom handling code here
}

void Main::AfterLMouseUp(int x, int y)
{
// This get called after a left mouse up message
// Add your custom handling code here
}

void Main::AfterRMouseDown(int x, int y)
{
//This get called after right mouse down message
//Add your custom handling code here
}

void Main::AfterRMouseUp(int x, int y)
{
//This get called after right mouse up message
//Add your custom handling code here
}

void Main::AfterKeyDown(UINT nChar)
{
// This get called after a key down message
// Add your custom handling code here
}

void Main::AfterDoubleClick(int x, int y)
{
// This get called after a double click message
// Add your custom handling code here
}

void Main::AfterChar(char c)
{
// This get called after a WM_CHAR message
// Add your custom handling code here
}

BOOL Main::OnObjectLMouseDown(DWORD oID)
{
//This get called on left mouse down over object.
//oID is the id of the object
//This function should return TRUE if an object, screen or application is destroyed
//Add your custom handling code here
	return FALSE;
}

BOOL Main::OnObjectLMouseUp(DWORD oID)
{
//This get called on left mouse up over object.
//oID is the id of the object
//This function should return TRUE if an object, screen or application is destroyed
//Add your custom handling code here
	return FALSE;
}

BOOL Main::OnObjectRMouseDown(DWORD oID)
{
//This get called on right mouse down over object.
//oID is the id of the object
//This function should return TRUE if an object, screen or application is destroyed
//Add your custom handling code here
	return FALSE;
}

BOOL Main::OnObjectRMouseUp(DWORD oID)
{
//This get called on right mouse up over object.
//oID is the id of the object
//This function should return TRUE if an object, screen or application is destroyed
//Add your custom handling code here
	return FALSE;
}

void Main::OnPopupMenuItemClicked(const char* item)
{
//This get called when an item was clicked in a popup menu
//Add your custom handling code here
}

