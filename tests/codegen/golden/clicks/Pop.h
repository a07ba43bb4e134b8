#ifndef Pop_H
#define Pop_H

#include <TavCtrls.h>

enum Pop_OBJECTS
{
	Pop_Close = 0,
};

class Pop : public CTavScreen
{
public:
	Pop();
	virtual ~Pop();

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