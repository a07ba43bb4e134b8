#pragma once

#include "model/ModelTypes.h"
#include "model/Snapper.h"
#include "tavctrls/TavCtrls.h"

namespace tav::builder {

class DesignView;

// The designer's application: the library's frame loop plus the drag of a palette icon, whose image
// follows the mouse over everything, and the gestures of a design view (move, resize, rubber band),
// which follow the mouse wherever it goes until the button is released.
class BuilderApp : public CTavApp {
public:
    enum Drag : int { NoDrag = 0, MovingObject = 1, PlacingObject = 2, ResizingObject = 3, Banding = 4 };

    ~BuilderApp() override;
    void AfterProcessMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void AfterUpdateFrame(CTavSurface* backSurface) override;
    void AfterMouseMove(int x, int y) override;
    void AfterLMouseUp(int x, int y) override;
    // A right click cancels any drag: a dialog opened from a menu must not end it and record a move.
    void AfterRMouseDown(int x, int y) override;
    // The window manager's close button: unsaved work is offered for saving first.
    BOOL OnCloseMessage() override;

    int DragState = NoDrag;
    ObjectKind dragKind = ObjectKind::Object;
    int draggedObjectId = -1;
    // Snapping of moves and resizes in every design view.
    SnapSettings snap;
    SnapSettings& Snap() { return snap; }
    // The view whose gesture the mouse drives, while DragState is one of its gestures.
    DesignView* GestureView() const { return m_gestureView; }
    void StartGesture(int state, DesignView* view);

    // Starts a drag whose image is a clone of `source` with its top-left corner at window point (x, y).
    void StartDrag(int state, CTavObject* source, float x, float y);
    // Ends any drag: state 0, the image finished and deleted once.
    void EndDrag();
    CTavObject* DragImage() const { return m_dragImage; }

private:
    CTavObject* m_dragImage = nullptr;
    DesignView* m_gestureView = nullptr;
};

// The running application as the designer's, or null.
BuilderApp* TheBuilderApp();

} // namespace tav::builder
