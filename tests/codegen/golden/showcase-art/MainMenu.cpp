#include "MainMenu.h"
#include <TavCtrls.h>
#include "About.h"
#include "MainMenu.h"
#include "Settings.h"

MainMenu::MainMenu()
{
//MainMenu constructor
}

MainMenu::~MainMenu()
{
//MainMenu destructor
}

void MainMenu::AfterInitialize()
{
// This get called after screen has been initialized.
// Add your screen objects here. 

	SetBackgroundImage("art//dback.bmp", TAVBACK_STRETCH);

	CTavObject *obj0 = new CTavObject;
	obj0->Initialize(MainMenu_Logo, 20, 80, "art//logo.bmp", 120, 90, this);
	obj0->SetTransparent(TRUE,RGB(255, 0, 255));
	AddObject(obj0);

	CTavStatic *obj1 = new CTavStatic; 
	obj1->Initialize("Tavrin Showcase", MainMenu_Title, 160, 90, 400, 30, this);
	obj1->SetMultiline(FALSE);
	obj1->SetBackColor(RGB(0, 0, 0));
	obj1->SetTransparent(TRUE, obj1->GetBackColor());
	obj1->SetTextColor(RGB(255, 255, 255));
	obj1->SetFont("DejaVu Sans", 0, 24, FW_BOLD);
	obj1->SetTextExtent(4, 2);
	AddObject(obj1);

	CTavButton *obj2 = new CTavButton;
	obj2->Initialize("About", MainMenu_AboutButton, 20, 200, 120, 30, this, "art//buttonnormal.bmp", "art//buttonover.bmp", "art//buttondown.bmp");
	obj2->SetTextColor(RGB(30, 40, 52));
	obj2->SetFont("Verdana", 0, 15, FW_BOLD);
	obj2->SetTextOffset(30, 6);
	AddObject(obj2); 

	CTavButton *obj3 = new CTavButton;
	obj3->Initialize("Help", MainMenu_HelpButton, 20, 240, 120, 30, this, "art//buttonnormal.bmp", "art//buttonover.bmp", "art//buttondown.bmp");
	obj3->SetTextColor(RGB(30, 40, 52));
	obj3->SetFont("Verdana", 0, 15, FW_BOLD);
	obj3->SetTextOffset(36, 6);
	AddObject(obj3); 

	CTavButton *obj4 = new CTavButton;
	obj4->Initialize("Reload", MainMenu_ReloadButton, 20, 280, 120, 30, this, "art//buttonnormal.bmp", "art//buttonover.bmp", "art//buttondown.bmp");
	obj4->SetTextColor(RGB(30, 40, 52));
	obj4->SetFont("Verdana", 0, 15, FW_BOLD);
	obj4->SetTextOffset(30, 6);
	AddObject(obj4); 

	CTavButton *obj5 = new CTavButton;
	obj5->Initialize("Settings", MainMenu_SettingsButton, 20, 320, 120, 30, this, "art//buttonnormal.bmp", "art//buttonover.bmp", "art//buttondown.bmp");
	obj5->SetTextColor(RGB(30, 40, 52));
	obj5->SetFont("Verdana", 0, 15, FW_BOLD);
	obj5->SetTextOffset(26, 6);
	AddObject(obj5); 

	CTavAnimation *obj6 = new CTavAnimation; 
	obj6->Initialize(MainMenu_Spinner, 680, 80, 64, 64, this);
	obj6->AddFrame("art//spin1.bmp");
	obj6->AddFrame("art//spin2.bmp");
	obj6->AddFrame("art//spin3.bmp");
	obj6->SetFrameFrequency(0.12);
	obj6->SetTransparent(TRUE,RGB(255, 0, 255));
	AddObject(obj6);
	CTavAnimation *obj7 = new CTavAnimation; 
	obj7->Initialize(MainMenu_Blinker, 680, 160, 32, 32, this);
	obj7->AddFrame("art//ledon.bmp");
	obj7->AddFrame("art//ledoff.bmp");
	obj7->SetFrameFrequency(1);
	AddObject(obj7);
	CTavEdit *obj8 = new CTavEdit; 
	obj8->Initialize("Player", MainMenu_NameEdit, 160, 200, 200, 22, this, "art//editback.bmp");
	obj8->SetMultiline(FALSE);
	obj8->SetBackColor(RGB(255, 255, 255));
	obj8->SetTextColor(RGB(0, 0, 0));
	obj8->SetFont("Verdana", 0, 15, 0);
	obj8->SetTextExtent(3, 2);
	AddObject(obj8);

	CTavEdit *obj9 = new CTavEdit; 
	obj9->Initialize("", MainMenu_NotesEdit, 160, 240, 200, 90, this);
	obj9->SetMultiline(TRUE);
	obj9->SetBackColor(RGB(0, 0, 0));
	obj9->SetTransparent(TRUE, obj9->GetBackColor());
	obj9->SetTextColor(RGB(255, 255, 255));
	obj9->SetFont("Verdana", 0, 13, 0);
	obj9->SetTextExtent(0, 0);
	AddObject(obj9);

	CTavCheckBox *obj10 = new CTavCheckBox; 
	obj10->Initialize("Sound", MainMenu_SoundCheck, 160, 350, 140, 18, this, "art//checkyes.bmp", "art//checkno.bmp");
	obj10->SetBackColor(RGB(0, 0, 0));
	obj10->SetTransparent(TRUE, obj10->GetBackColor());
	obj10->SetTextColor(RGB(255, 255, 255));
	obj10->SetFont("Verdana", 0, 15, 0);
	AddObject(obj10);

	CTavListBox *obj11 = new CTavListBox;
	obj11->Initialize(MainMenu_Scores, 380, 200, 280, 180, this, "art//listback.bmp");
	obj11->SetBackColor(RGB(230, 230, 230));
	obj11->SetFont("Verdana", 0, 13, 0);
	obj11->SetTextColor(RGB(0, 0, 0));
	obj11->SetColumnFont("DejaVu Sans", 0, 14, FW_BOLD);
	obj11->SetColumnTextColor(RGB(255, 255, 255));
	obj11->SetSelectedColor(RGB(120, 170, 255));
	obj11->SetLineColor(RGB(180, 180, 180));
	obj11->SetColumnHeight(22);
	obj11->SetItemHeight(18);
	obj11->SetColumnBackColor(RGB(40, 60, 90));
	AddObject(obj11);

	CTavTree *obj12 = new CTavTree;
	obj12->Initialize(380, 400, MainMenu_Levels, this, 280, 160, "art//treeback.bmp", "art//plus.bmp", "art//minus.bmp");
	obj12->SetTextColor(RGB(20, 20, 20));
	obj12->SetFontName("Verdana");
	obj12->SetFontHeight(13);
	obj12->SetFontStyle(FW_BOLD);
	obj12->SetItemBackColor(RGB(250, 250, 240));
	obj12->SetSelectedItemColor(RGB(255, 220, 120));
	obj12->SetItemHeight(18);
	obj12->SetTabSpace(16);
	AddObject(obj12);

}

BOOL MainMenu::OnButtonDown(DWORD bID)
{
// This get called after a button has been pressed.
// bID is the id of the button.
// You can call ((CTavButton*)GetObjectByID(bID)) to get the pointer to this button
// If you terminate the screen or the application here, return TRUE, otherwise FALSE
// Add your custom handling here. 
	if (bID == MainMenu_AboutButton)
	{
		About* scr = new About;
		scr->Initialize(0,200, 150, 400, 300, TAVSCREEN_POPUP, this);
		SetChildScreen(scr);
		RemoveChildScreen();
	}
	else if (bID == MainMenu_HelpButton)
	{
		About* scr = new About;
		scr->Initialize(0,200, 150, 400, 300, TAVSCREEN_POPUP, this);
		SetChildScreen(scr);
		RemoveChildScreen();
	}
	else if (bID == MainMenu_ReloadButton)
	{
		MainMenu* scr = new MainMenu;
		scr->Initialize(0,0, 0, 800, 600, TAVSCREEN_POPUP, this);
		SetChildScreen(scr);
		RemoveChildScreen();
	}
	else if (bID == MainMenu_SettingsButton)
	{
		Settings* scr = new Settings;
		scr->Initialize(0,0, 0, 800, 600, TAVSCREEN_POPUP, this);
		SetChildScreen(scr);
		RemoveChildScreen();
	}
	return FALSE;
}

void MainMenu::OnObjectGotFocus(DWORD oID)
{
// This gets called when one of the screen's objects received focus.
// oID is the id of the object that received focus. 
// Add your custom handling code here
}

void MainMenu::OnObjectLostFocus(DWORD oID)
{
// This gets called when one of the screen's objects loses focus.
// oID is the id of the object that lost focus. 
// Add your custom handling code here
}

void MainMenu::OnCheckBoxClick(DWORD cID, BOOL newValue)
{
// This get called when a check box is clicked. 
// cID is the id of the checkbox and newValue is its new value
// Add you custom handling code here
}

BOOL MainMenu::OnMenuItemClicked(const char* topItem, const char* subItem)
{
// This get called when on of the menu item is clicked
// subItem is the name of the item that got clicked
// topItem is the name of the parent item on the menu 
// If you terminate the screen or the application here, return TRUE, otherwise FALSE
// Add your custom handling code here
	return FALSE;
}

void MainMenu::AfterTreeCntrlDoubleClicked(DWORD tID, int itemID)
{
// This get called when an item in the tree control get double clicked
// tID is the id of the tree control 
// itemID is the id of the item in the tree control that got double clicked
// Add your custom handling code here
}

void MainMenu::AfterTreeCntrlSelectionChanged(DWORD tID, int itemID)
{
// This get called when selection in the tree control changes
// tID is the id of the tree control
// itemID is the id of the newly selected item in the tree control
// Add your custom handling code here
}

void MainMenu::OnTreeCntrlItemRightClick(DWORD tID, int itemID)
{
//This get called when an item in the tree control gets right clicked.
//tID is the id of the tree control. itemID is the id of the item that was clicked.
//Add  your custom handling code here
}

void MainMenu::OnListBoxItemChange(DWORD lID, int item)
{
// This gets called when list box's item selection changes
// lID is the id of the list box
// item is the index of the newly selected item 
// Add your custom handling code here
}

void MainMenu::OnListBoxItemDoubleClicked(DWORD lID, int item)
{
// This get called when an item in the list box gets double clicked
// lID is the id of the list box
// item is the index of the double clicked item in the list box
// Add your custom handling code here
}

void MainMenu::OnListBoxItemRightClicked(DWORD lID, int item)
{
//This get called when an item in the list box gets right clicked.
//lID is the id of the list box and item is the index of the item that got clicked.
//Add you custom handling code here
}

void MainMenu::AfterSetScrollPosition(int oldX, int oldY, int newX, int newY)
{
// This get called when screen's scroll bars (if any) are moved
// oldX and oldY are the position of the scrollbars before they moved
// newX and newY are scroll bar's current position
// Add your custom handling code here
}

void MainMenu::AfterBackBufferRedrawn()
{
// This get called after back buffer is redrawn. 
// Add you custom drawing code here
// You can get a pointer to the screen's surface by calling GetSurface()
}

void MainMenu::AfterRestore()
{
// This get called after surfaces get restored 
// Restore any custom surfaces here
}

void MainMenu::AfterSetPosition(int x, int y)
{
// This get called after screen's position changes
// x and y are screen's new position
// Add you custom handling code here
}

void MainMenu::AfterSetWidth(int w)
{
// This gets called after screen's width changes
// Add your custom handling code here
}

void MainMenu::AfterSetHeight(int h)
{
// This gets called after screen's height changes
// Add your custom handling code here
}

void MainMenu::AfterFinish()
{
// This get called after screen has been destroyed
// Delete any custom objects here
}

void MainMenu::AfterDisplay(CTavSurface *sur)
{
// This get called after screen has been drawn
// sur is the destination surface
// Add your custom drawing code here
}

void MainMenu::AfterMouseMove(int x, int y)
{
// This get called after a mouse move message
// Add your custom handling code here
}

void MainMenu::AfterLMouseDown(int x, int y)
{
// This get called after a left mouse down message
// Add your custom handling code here
}

void MainMenu::AfterLMouseUp(int x, int y)
{
// This get called after a left mouse up message
// Add your custom handling code here
}

void MainMenu::AfterRMouseDown(int x, int y)
{
//This get called after right mouse down message
//Add your custom handling code here
}

void MainMenu::AfterRMouseUp(int x, int y)
{
//This get called after right mouse up message
//Add your custom handling code here
}

void MainMenu::AfterKeyDown(UINT nChar)
{
// This get called after a key down message
// Add your custom handling code here
}

void MainMenu::AfterDoubleClick(int x, int y)
{
// This get called after a double click message
// Add your custom handling code here
}

void MainMenu::AfterChar(char c)
{
// This get called after a WM_CHAR message
// Add your custom handling code here
}

BOOL MainMenu::OnObjectLMouseDown(DWORD oID)
{
//This get called on left mouse down over object.
//oID is the id of the object
//This function should return TRUE if an object, screen or application is destroyed
//Add your custom handling code here
	return FALSE;
}

BOOL MainMenu::OnObjectLMouseUp(DWORD oID)
{
//This get called on left mouse up over object.
//oID is the id of the object
//This function should return TRUE if an object, screen or application is destroyed
//Add your custom handling code here
	return FALSE;
}

BOOL MainMenu::OnObjectRMouseDown(DWORD oID)
{
//This get called on right mouse down over object.
//oID is the id of the object
//This function should return TRUE if an object, screen or application is destroyed
//Add your custom handling code here
	return FALSE;
}

BOOL MainMenu::OnObjectRMouseUp(DWORD oID)
{
//This get called on right mouse up over object.
//oID is the id of the object
//This function should return TRUE if an object, screen or application is destroyed
//Add your custom handling code here
	return FALSE;
}

void MainMenu::OnPopupMenuItemClicked(const char* item)
{
//This get called when an item was clicked in a popup menu
//Add your custom handling code here
}

