#ifndef Clicks_H
#define Clicks_H

#include <TavCtrls.h>

class Clicks : public CTavApp
{
public:
Clicks();
virtual ~Clicks();
virtual void AfterProcessMessage(UINT message, WPARAM wParam, LPARAM lParam);

protected:
virtual void AfterUpdateFrame(CTavSurface* backSurface);
virtual void AfterMouseMove(int x, int y);
virtual void AfterLMouseUp(int x, int y);
virtual void AfterLMouseDown(int x, int y);
virtual void AfterKeyDown(UINT nChar);
virtual void AfterDoubleClick(int x, int y);
virtual void AfterChar(char c);
virtual BOOL OnCloseMessage();
};
#endif
