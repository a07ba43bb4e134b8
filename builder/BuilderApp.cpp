#include "builder/BuilderApp.h"

#include "builder/DesignView.h"
#include "builder/MainScreen.h"

#include <utility>

namespace tav::builder {

BuilderApp::~BuilderApp() {
    // The library is idle by now (or gone): the image is freed at once.
    if (CTavObject* image = std::exchange(m_dragImage, nullptr)) {
        image->Finish();
        delete image;
    }
}

void BuilderApp::AfterProcessMessage(UINT message, WPARAM wParam, LPARAM) {
    // No frames run while inactive: a change waiting for the recovery file is written now.
    auto* main = dynamic_cast<MainScreen*>(GetChildScreen());
    if (message == WM_ACTIVATEAPP && wParam == 0 && main != nullptr)
        main->FlushAutosave();
}

void BuilderApp::AfterUpdateFrame(CTavSurface* backSurface) {
    if (m_dragImage != nullptr && backSurface != nullptr)
        m_dragImage->Display(backSurface);
    if (auto* main = dynamic_cast<MainScreen*>(GetChildScreen())) {
        main->TickAutosave(GetFrameTime());
        main->TickBuild(GetFrameTime());
    }
}

void BuilderApp::AfterMouseMove(int x, int y) {
    if (DragState == PlacingObject && m_dragImage != nullptr)
        m_dragImage->SetPosition(static_cast<float>(x), static_cast<float>(y));
    else if (m_gestureView != nullptr)
        m_gestureView->DragTo(x, y);
}

void BuilderApp::AfterLMouseUp(int x, int y) {
    // Released anywhere, over the view or not.
    if (DesignView* view = std::exchange(m_gestureView, nullptr))
        view->EndGesture(x, y);
    EndDrag();
}

void BuilderApp::AfterRMouseDown(int, int) {
    if (DesignView* view = m_gestureView)
        view->CancelGesture();
    EndDrag();
}

BOOL BuilderApp::OnCloseMessage() {
    auto* main = dynamic_cast<MainScreen*>(GetChildScreen());
    return main == nullptr || main->ConfirmClose() ? TRUE : FALSE;
}

void BuilderApp::StartDrag(int state, CTavObject* source, float x, float y) {
    EndDrag();
    if (source == nullptr)
        return;
    // A clone without a screen draws at its own position on the back buffer.
    m_dragImage = source->Clone(nullptr, 0);
    if (m_dragImage != nullptr)
        m_dragImage->SetPosition(x, y);
    DragState = state;
    draggedObjectId = static_cast<int>(source->GetID());
}

void BuilderApp::StartGesture(int state, DesignView* view) {
    EndDrag();
    DragState = state;
    m_gestureView = view;
}

void BuilderApp::EndDrag() {
    DragState = NoDrag;
    m_gestureView = nullptr;
    // Cleared before the free, so that nothing reaches the image again; a handler still on the stack
    // may hold it until the event is over.
    TavDeleteObject(std::exchange(m_dragImage, nullptr));
}

BuilderApp* TheBuilderApp() {
    return dynamic_cast<BuilderApp*>(TavGetApp());
}

} // namespace tav::builder
