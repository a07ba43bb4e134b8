#ifndef Main_H
#define Main_H

#include <TavCtrls.h>

enum Main_OBJECTS
{
	Main_Open = 0,
	Main_Quit = 1,
	Main_Done = 2,
	Main_Label = 3,
	Main_Field = 4,
	Main_Tick = 5,
	Main_List = 6,
	Main_Tree = 7,
	Main_Anim = 8,
	Main_Picture = 9,
};

class Main : public CTavScreen
{
public:
	Main();
	virtual ~Main();

	virtual BOOL OnButtonDown(DWORD bID); 
	virtual void OnObjectGotFocus(DWORD oID);
	virtual void OnObjectLostFocus(DWORD oID); 
	virtual void OnCheckBoxClick(DWORD cID, BOOL newValue);
	virtual BOOL OnMenuItemClicked(const char* topItem, const char* subItem);
	virtual void AfterTreeCntrlDoubleClicked(DWORD tID, int itemID);
	virtual void AfterTreeCntrlSelectionChanged(DWORD tID, int itemID);
	virtual void OnTreeCntrlItemRightClick(DWORD tID, int itemID);
	virtual void OnListBoxItemChange(DWORD lID, int item);
	virtual void OnListBoxItemDoubleClicked(DWORD lID, int item);
	virtual void OnListBoxItemRightClicked(DWORD lID, int item);
	virtual void AfterSetScrollPosition(int oldX, int oldY, int newX, int newY);
	virtual void OnPopupMenuItemClicked(const char* item);

protected:
	virtual void AfterInitialize();
	virtual void AfterBackBufferRedrawn();
	virtual void AfterRestore();
	virtual void AfterSetPosition(int x, int y);
	virtual void AfterSetWidth(int w);
	virtual void AfterSetHeight(int h);
	virtual void AfterFinish();
	virtual void AfterDisplay(CTavSurface *sur);
	virtual void AfterMouseMove(int x, int y);
	virtual void AfterLMouseDown(int x, int y);
	virtual void AfterLMouseUp(int x, int y);
	virtual void AfterRMouseDown(int x, int y); 
	virtual void AfterRMouseUp(int x, int y);
	virtual void AfterKeyDown(UINT nChar);
	virtual void AfterDoubleClick(int x, int y);
	virtual void AfterChar(char c);

	virtual BOOL OnObjectLMouseDown(DWORD oID);
	virtual BOOL OnObjectLMouseUp(DWORD oID);
	virtual BOOL OnObjectRMouseDown(DWORD oID);
	virtual BOOL OnObjectRMouseUp(DWORD oID);
};
#endif