#include "CTavScreen.h"

#include "CTavApp.h"
#include "CTavMenuBar.h"
#include "CTavObject.h"
#include "CTavScrollBarsBase.h"
#include "TavRuntime.h"

#include "tavctrls/platform/PixelBuffer.h"

#include <algorithm>
#include <utility>

using tav::platform::DirtyRegion;
using tav::platform::PixelRect;

namespace {

template <typename Area>
PixelRect RectOf(const Area& area) {
    return {area.left, area.top, area.right, area.bottom};
}

template <typename Area>
void Store(Area& area, const PixelRect& rect) {
    area = {rect.left, rect.top, rect.right, rect.bottom};
}

PixelRect Moved(const PixelRect& rect, int dx, int dy) {
    return rect.Empty() ? PixelRect{}
                        : PixelRect{rect.left + dx, rect.top + dy, rect.right + dx, rect.bottom + dy};
}

bool RectInside(float left, float top, int width, int height, float outerLeft, float outerTop, int outerWidth,
                int outerHeight) {
    return outerLeft <= left &&
           left + static_cast<float>(width) <= outerLeft + static_cast<float>(outerWidth) &&
           outerTop <= top && top + static_cast<float>(height) <= outerTop + static_cast<float>(outerHeight);
}

bool Quitting() {
    return tav::TheRuntime().quit != 0;
}

} // namespace

CTavScreen::CTavScreen() : m_dirtyRegion(std::make_unique<DirtyRegion>()) {}

CTavScreen::~CTavScreen() {
    // Owners call Finish first; whatever is left is freed here.
    for (CTavObject* object : m_objects)
        delete object;
    for (CTavScreen* sub : m_subScreens)
        delete sub;
    delete m_modalChild;
    delete m_scrollBars;
    delete m_menuBar;
    delete m_popupMenu;
    delete m_background;
    delete m_surface;
    delete m_stretchedBackground;
}

void CTavScreen::OnPopupMenuItemClicked(const char*) {}
void CTavScreen::OnObjectGotFocus(DWORD) {}
void CTavScreen::OnObjectLostFocus(DWORD) {}
void CTavScreen::OnCheckBoxClick(DWORD, BOOL) {}
BOOL CTavScreen::OnMenuItemClicked(const char*, const char*) {
    return FALSE;
}
void CTavScreen::AfterTreeCntrlDoubleClicked(DWORD, int) {}
void CTavScreen::AfterTreeCntrlSelectionChanged(DWORD, int) {}
void CTavScreen::OnTreeCntrlItemRightClick(DWORD, int) {}
void CTavScreen::OnListBoxItemChange(DWORD, int) {}
void CTavScreen::OnListBoxItemDoubleClicked(DWORD, int) {}
void CTavScreen::OnListBoxItemRightClicked(DWORD, int) {}
void CTavScreen::AfterSetScrollPosition(int, int, int, int) {}
BOOL CTavScreen::OnButtonDown(DWORD) {
    return FALSE;
}
void CTavScreen::AfterObjectDoubleClick(DWORD, int, int) {}
void CTavScreen::AfterInitialize() {}
void CTavScreen::AfterBackBufferRedrawn() {}
void CTavScreen::AfterRestore() {}
void CTavScreen::AfterSetPosition(int, int) {}
void CTavScreen::AfterSetWidth(int) {}
void CTavScreen::AfterSetHeight(int) {}
void CTavScreen::AfterFinish() {}
void CTavScreen::AfterDisplay(CTavSurface*) {}
void CTavScreen::AfterMouseMove(int, int) {}
void CTavScreen::AfterLMouseDown(int, int) {}
void CTavScreen::AfterLMouseUp(int, int) {}
void CTavScreen::AfterRMouseDown(int, int) {}
void CTavScreen::AfterRMouseUp(int, int) {}
void CTavScreen::AfterKeyDown(UINT) {}
void CTavScreen::AfterDoubleClick(int, int) {}
void CTavScreen::AfterChar(char) {}
void CTavScreen::AfterMouseWheel(int, int, int) {}
BOOL CTavScreen::OnObjectLMouseDown(DWORD) {
    return FALSE;
}
BOOL CTavScreen::OnObjectLMouseUp(DWORD) {
    return FALSE;
}
BOOL CTavScreen::OnObjectRMouseDown(DWORD) {
    return FALSE;
}
BOOL CTavScreen::OnObjectRMouseUp(DWORD) {
    return FALSE;
}

// ---- lifetime and geometry ----

DWORD CTavScreen::Initialize(DWORD id, int x, int y, int width, int height, int type, CTavScreen* parent) {
    CTavApp* app = tav::CurrentApp();
    if (app == nullptr)
        return TAVERROR_NOAPP;
    m_app = app;
    m_parent = parent;
    if (type != TAVSCREEN_FULLSCREEN && parent == nullptr)
        return TAVERROR_NOPARENT;
    m_id = id;
    m_width = width;
    m_height = height;
    m_type = type;
    m_x = x;
    m_y = y;
    if (type == TAVSCREEN_FULLSCREEN) {
        m_x = m_y = 0;
        m_width = app->GetWidth();
        m_height = app->GetHeight();
    }
    ComputeAppPosition();
    const long long right = static_cast<long long>(m_x) + m_width;
    const long long bottom = static_cast<long long>(m_y) + m_height;
    if (m_x < 0 || m_y < 0 || m_x >= app->GetWidth() || m_y >= app->GetHeight() || m_width < 1 ||
        m_height < 1 || right > app->GetWidth() || bottom > app->GetHeight())
        return TAVERROR_INVALIDARG;
    auto* surface = new CTavSurface;
    const DWORD created = surface->Create(m_width, m_height);
    if (created != TAVERROR_OK) {
        delete surface;
        return created;
    }
    delete m_surface;
    m_surface = surface;
    m_dirty = 0;
    Invalidate();
    AfterInitialize();
    return TAVERROR_OK;
}

void CTavScreen::Finish() {
    std::vector<CTavObject*> objects;
    objects.swap(m_objects);
    for (CTavObject* object : objects)
        tav::DiscardObject(object);
    if (m_surface != nullptr) {
        m_surface->Release();
        delete m_surface;
        m_surface = nullptr;
    }
    if (m_scrollBars != nullptr) {
        m_scrollBars->Finish();
        delete m_scrollBars;
        m_scrollBars = nullptr;
    }
    if (m_modalChild != nullptr) {
        m_modalChild->m_discarded = 1;
        tav::DiscardScreen(std::exchange(m_modalChild, nullptr));
    }
    m_modalRunning = 0;
    std::vector<CTavScreen*> subs;
    subs.swap(m_subScreens);
    for (CTavScreen* sub : subs) {
        sub->m_discarded = 1;
        tav::DiscardScreen(sub);
    }
    tav::DiscardObject(std::exchange(m_menuBar, nullptr));
    tav::DiscardObject(std::exchange(m_popupMenu, nullptr));
    tav::DiscardObject(std::exchange(m_background, nullptr));
    DropStretchedBackground();
    AfterFinish();
}

void CTavScreen::Restore() {
    for (CTavObject* object : ObjectsSnapshot())
        object->Restore();
    if (m_surface != nullptr) {
        m_surface->Restore();
        m_surface->Create(m_width, m_height);
    }
    Invalidate();
    if (m_scrollBars != nullptr)
        m_scrollBars->Restore();
    if (m_modalChild != nullptr)
        m_modalChild->Restore();
    for (CTavScreen* sub : std::vector<CTavScreen*>(m_subScreens))
        sub->Restore();
    for (CTavObject* part : {m_menuBar, m_popupMenu, m_background})
        if (part != nullptr)
            part->Restore();
    DropStretchedBackground();
    AfterRestore();
}

void CTavScreen::ComputeAppPosition() {
    // A sub screen is part of its parent's content and scrolls with it; a modal popup does not.
    int scrollX = 0, scrollY = 0;
    if (m_parent != nullptr && m_type == TAVSCREEN_SUBSCREEN)
        m_parent->GetScrollPosition(&scrollX, &scrollY);
    m_appX = (m_parent != nullptr ? m_parent->m_appX : 0) + m_x - scrollX;
    m_appY = (m_parent != nullptr ? m_parent->m_appY : 0) + m_y - scrollY;
}

void CTavScreen::MoveChildren() {
    for (CTavObject* object : ObjectsSnapshot())
        object->SetPosition(object->GetX(), object->GetY());
    if (m_popupMenu != nullptr)
        m_popupMenu->SetPosition(m_popupMenu->GetX(), m_popupMenu->GetY());
    if (m_menuBar != nullptr)
        m_menuBar->SetPosition(m_menuBar->GetX(), m_menuBar->GetY());
    if (m_modalChild != nullptr)
        m_modalChild->SetPosition(m_modalChild->m_x, m_modalChild->m_y);
    for (CTavScreen* sub : std::vector<CTavScreen*>(m_subScreens))
        sub->SetPosition(sub->m_x, sub->m_y);
    if (m_scrollBars != nullptr)
        m_scrollBars->OwnerMoved();
}

DWORD CTavScreen::SetPosition(int x, int y) {
    m_x = x;
    m_y = y;
    ComputeAppPosition();
    if (m_parent != nullptr)
        m_parent->Invalidate();
    MoveChildren();
    AfterSetPosition(x, y);
    return TAVERROR_OK;
}

DWORD CTavScreen::Resize(int width, int height) {
    if (m_type == TAVSCREEN_FULLSCREEN)
        return TAVERROR_FULLSCREENSIZE;
    if (m_app == nullptr)
        return TAVERROR_NOAPP;
    if (width < 1 || height < 1 || static_cast<long long>(m_x) + width > m_app->GetWidth() ||
        static_cast<long long>(m_y) + height > m_app->GetHeight())
        return TAVERROR_INVALIDARG;
    auto* surface = new CTavSurface;
    if (const DWORD created = surface->Create(width, height); created != TAVERROR_OK) {
        delete surface;
        return created;
    }
    delete m_surface;
    m_surface = surface;
    m_width = width;
    m_height = height;
    m_dirty = 0;
    Invalidate();
    if (m_scrollBars != nullptr)
        m_scrollBars->OwnerResized();
    if (m_parent != nullptr)
        m_parent->Invalidate();
    return TAVERROR_OK;
}

DWORD CTavScreen::SetWidth(int w) {
    const DWORD result = Resize(w, m_height);
    if (result != TAVERROR_OK)
        return result;
    if (m_menuBar != nullptr)
        m_menuBar->SetWidth(w);
    AfterSetWidth(w);
    return TAVERROR_OK;
}

DWORD CTavScreen::SetHeight(int h) {
    const DWORD result = Resize(m_width, h);
    if (result != TAVERROR_OK)
        return result;
    AfterSetHeight(h);
    return TAVERROR_OK;
}

void CTavScreen::Invalidate() {
    InvalidateArea({0, 0, m_width, m_height});
}

void CTavScreen::Invalidate(int left, int top, int right, int bottom) {
    InvalidateArea({left, top, right, bottom});
}

int CTavScreen::OffsetXOnParent() const {
    int scrollX = 0;
    if (m_parent != nullptr && m_type == TAVSCREEN_SUBSCREEN)
        m_parent->GetScrollPosition(&scrollX, nullptr);
    return m_x - scrollX;
}

int CTavScreen::OffsetYOnParent() const {
    int scrollY = 0;
    if (m_parent != nullptr && m_type == TAVSCREEN_SUBSCREEN)
        m_parent->GetScrollPosition(nullptr, &scrollY);
    return m_y - scrollY;
}

void CTavScreen::InvalidateArea(const PixelRect& rect) {
    PixelRect area = rect;
    for (CTavScreen* screen = this; screen != nullptr; screen = screen->m_parent) {
        const PixelRect whole{0, 0, screen->m_width, screen->m_height};
        area = Intersection(area, whole);
        if (area.Empty())
            return;
        // Whatever the hooks drew last time is redrawn with the rest, so that they draw on a clean picture.
        if (!screen->m_dirty) {
            screen->m_dirtyRegion->Clear();
            for (const HookArea& hooks : {screen->m_topHooks, screen->m_midHooks})
                screen->m_dirtyRegion->Add(Intersection(RectOf(hooks), whole));
        }
        screen->m_dirty = 1;
        screen->m_dirtyRegion->Add(area);
        area = Moved(area, screen->OffsetXOnParent(), screen->OffsetYOnParent());
    }
}

void CTavScreen::ScreenToClient(int x, int y, int* outX, int* outY) const {
    int localX = -1, localY = -1;
    if (ContainsPoint(x, y)) {
        int scrollX = 0, scrollY = 0;
        GetScrollPosition(&scrollX, &scrollY);
        localX = x - m_appX + scrollX;
        localY = y - m_appY + scrollY;
    }
    if (outX != nullptr)
        *outX = localX;
    if (outY != nullptr)
        *outY = localY;
}

BOOL CTavScreen::ContainsPoint(int x, int y) const {
    return m_appX <= x && x <= m_appX + m_width && m_appY <= y && y <= m_appY + m_height;
}

BOOL CTavScreen::Gone() const {
    return m_discarded || Quitting();
}

// ---- drawing ----

void CTavScreen::Update() {
    if (m_frozen)
        return;
    if (m_scrollBars != nullptr)
        m_scrollBars->Update();
    if (m_modalChild != nullptr)
        m_modalChild->Update();
    for (CTavScreen* sub : std::vector<CTavScreen*>(m_subScreens))
        if (!sub->m_discarded)
            sub->Update();
    for (CTavObject* object : ObjectsSnapshot())
        if (Owns(object))
            object->Update();
}

void CTavScreen::Display(CTavSurface* dest) {
    Update();
    if (m_discarded)
        return;
    if (dest == nullptr)
        dest =
            m_parent != nullptr ? m_parent->m_surface : (m_app != nullptr ? m_app->GetBackBuffer() : nullptr);
    if (m_surface != nullptr && dest != nullptr) {
        RedrawBackBuffer();
        m_surface->Blt(dest->GetDDSurface(), OffsetXOnParent(), OffsetYOnParent());
    }
    AfterDisplay(dest);
}

void CTavScreen::DropStretchedBackground() {
    delete m_stretchedBackground;
    m_stretchedBackground = nullptr;
}

void CTavScreen::DrawBackground(const PixelRect& area) {
    if (m_background == nullptr || m_background->GetImage() == nullptr)
        return;
    CTavSurface* image = m_background->GetImage();
    switch (m_backgroundMode) {
    case TAVBACK_STRETCH:
        if (m_stretchedBackground == nullptr || m_stretchedBackground->GetWidth() != m_width ||
            m_stretchedBackground->GetHeight() != m_height) {
            DropStretchedBackground();
            m_stretchedBackground = new CTavSurface;
            if (m_stretchedBackground->Create(m_width, m_height) != TAVERROR_OK ||
                image->BltStretch(m_stretchedBackground->GetDDSurface(), 0, 0, m_width, m_height) != 0) {
                DropStretchedBackground();
                image->BltStretch(m_surface->GetDDSurface(), 0, 0, m_width, m_height);
                break;
            }
        }
        m_stretchedBackground->Blt(m_surface->GetDDSurface(), 0, 0);
        break;
    case TAVBACK_TILE: {
        const int w = image->GetWidth(), h = image->GetHeight();
        if (w < 1 || h < 1)
            break;
        // Only the tiles that meet the area being drawn.
        for (int y = area.top - area.top % h; y < area.bottom; y += h)
            for (int x = area.left - area.left % w; x < area.right; x += w)
                image->Blt(m_surface->GetDDSurface(), x, y);
        break;
    }
    default:
        m_background->Display(m_surface);
        break;
    }
}

BOOL CTavScreen::ObjectHidden(const CTavObject* obj) const {
    const auto inside = [obj](const CTavScreen* screen) {
        return RectInside(obj->GetAppX(), obj->GetAppY(), obj->GetWidth(), obj->GetHeight(),
                          static_cast<float>(screen->m_appX), static_cast<float>(screen->m_appY),
                          screen->m_width, screen->m_height);
    };
    if (m_modalChild != nullptr && inside(m_modalChild))
        return TRUE;
    return std::any_of(m_subScreens.begin(), m_subScreens.end(), inside);
}

void CTavScreen::RedrawBackBuffer() {
    if (!m_dirty || m_surface == nullptr)
        return;
    tav::platform::PixelBuffer& pixels = *m_surface->GetDDSurface();
    DirtyRegion whole;
    whole.Add(pixels.Bounds());
    DirtyRegion clip = tav::TheRuntime().fullRedraw ? whole : *m_dirtyRegion;
    m_dirty = 0;
    m_dirtyRegion->Clear();
    m_redrawing = 1;
    // Drawing that reached outside the area, where the picture may be stale, is made good by a whole
    // redraw in the same frame.
    if (!RedrawArea(clip) && !clip.Covers(pixels.Bounds())) {
        clip = whole;
        RedrawArea(whole);
    }
    m_redrawing = 0;
    // The last hooks draw unclipped: where they drew before was redrawn clean, and whatever else they
    // draw lands on a picture that is up to date.
    pixels.Reach() = {};
    if (m_modalChild == nullptr)
        AfterBackBufferRedrawn();
    else
        m_modalChild->AfterDisplay(m_surface);
    Store(m_topHooks, pixels.Reach());
    // The parent shows this screen again there; a parent that is drawing right now does so anyway.
    if (m_parent != nullptr && !m_parent->m_redrawing) {
        clip.Add(pixels.Reach());
        for (const PixelRect& rect : clip)
            m_parent->InvalidateArea(Moved(rect, OffsetXOnParent(), OffsetYOnParent()));
    }
}

bool CTavScreen::DisplayPart(CTavObject* part, const DirtyRegion& clip) {
    // Every part is displayed at every redraw (its AfterDisplay may count them); outside the clip
    // that draws nothing.
    const PixelRect drawn{part->m_drawnLeft, part->m_drawnTop, part->m_drawnRight, part->m_drawnBottom};
    tav::platform::PixelBuffer& pixels = *m_surface->GetDDSurface();
    pixels.Reach() = {};
    part->Display(m_surface);
    const PixelRect reach = pixels.Reach();
    part->m_drawnLeft = reach.left;
    part->m_drawnTop = reach.top;
    part->m_drawnRight = reach.right;
    part->m_drawnBottom = reach.bottom;
    // Drawing outside the area is already there unless the part now reaches somewhere new.
    return reach == drawn || clip.Covers(reach);
}

namespace {

// True when every rectangle of `changed`, moved by (dx, dy), lies in `clip`.
bool CoveredMoved(const DirtyRegion& clip, const DirtyRegion& changed, int dx, int dy) {
    return std::all_of(changed.begin(), changed.end(),
                       [&](const PixelRect& rect) { return clip.Covers(Moved(rect, dx, dy)); });
}

} // namespace

bool CTavScreen::RedrawArea(const DirtyRegion& clip) {
    tav::platform::PixelBuffer& pixels = *m_surface->GetDDSurface();
    pixels.SetClip(clip);
    bool exact = true;
    const bool covered =
        m_modalChild != nullptr && m_modalChild->m_width >= m_width && m_modalChild->m_height >= m_height;
    if (!covered) {
        // A stretched background covers the whole screen, so clearing under it would change nothing.
        const bool background = m_background != nullptr && m_background->GetImage() != nullptr &&
                                m_background->GetImage()->GetDDSurface() != nullptr;
        if (!(background && (m_backgroundMode == TAVBACK_TILE || m_backgroundMode == TAVBACK_STRETCH)))
            tav::platform::FillRect(pixels, pixels.Bounds(), tav::PixelOfColour(m_backColour));
        DrawBackground(clip.Bounds());
        for (CTavObject* object : m_objects)
            if (!ObjectHidden(object))
                exact = DisplayPart(object, clip) && exact;
        if (m_scrollBars != nullptr)
            m_scrollBars->Draw(m_surface);
        PixelRect midHooks;
        for (CTavScreen* sub : m_subScreens) {
            sub->RedrawBackBuffer();
            if (sub->m_surface != nullptr) {
                const int x = sub->OffsetXOnParent(), y = sub->OffsetYOnParent();
                exact = CoveredMoved(clip, sub->m_surface->GetDDSurface()->TakeDamage(), x, y) && exact;
                sub->m_surface->Blt(&pixels, x, y);
            }
            pixels.Reach() = {};
            sub->AfterDisplay(m_surface);
            exact = clip.Covers(pixels.Reach()) && exact;
            midHooks = Union(midHooks, pixels.Reach());
        }
        Store(m_midHooks, midHooks);
        if (m_menuBar != nullptr)
            exact = DisplayPart(m_menuBar, clip) && exact;
        if (m_popupMenu != nullptr)
            exact = DisplayPart(m_popupMenu, clip) && exact;
    }
    if (m_modalChild != nullptr) {
        m_modalChild->RedrawBackBuffer();
        if (m_modalChild->m_surface != nullptr) {
            const DirtyRegion changed = m_modalChild->m_surface->GetDDSurface()->TakeDamage();
            exact = CoveredMoved(clip, changed, m_modalChild->m_x, m_modalChild->m_y) && exact;
            m_modalChild->m_surface->Blt(&pixels, m_modalChild->m_x, m_modalChild->m_y);
        }
    }
    pixels.ClearClip();
    return exact;
}

// ---- objects ----

DWORD CTavScreen::AddObject(CTavObject* obj) {
    if (obj == nullptr)
        return TAVERROR_NULLPOINTER;
    if (HasObject(obj->GetID()))
        return TAVERROR_DUPLICATEID;
    m_objects.push_back(obj);
    obj->InvalidateOn(this);
    return TAVERROR_OK;
}

DWORD CTavScreen::RemoveObject(DWORD id) {
    const auto found = std::find_if(m_objects.begin(), m_objects.end(),
                                    [id](const CTavObject* object) { return object->GetID() == id; });
    if (found == m_objects.end())
        return TAVERROR_OBJECTNOTFOUND;
    CTavObject* object = *found;
    m_objects.erase(found);
    object->InvalidateOn(this);
    tav::DiscardObject(object);
    return TAVERROR_OK;
}

CTavObject* CTavScreen::GetObjectByID(DWORD id) const {
    for (CTavObject* object : m_objects)
        if (object->GetID() == id)
            return object;
    return nullptr;
}

BOOL CTavScreen::HasObject(DWORD id) const {
    return GetObjectByID(id) != nullptr;
}

BOOL CTavScreen::Owns(const CTavObject* obj) const {
    return !m_discarded && std::find(m_objects.begin(), m_objects.end(), obj) != m_objects.end();
}

CTavObject* CTavScreen::GetObjectAt(int index) const {
    return index >= 0 && index < GetObjectCount() ? m_objects[static_cast<size_t>(index)] : nullptr;
}

DWORD CTavScreen::SetObjectOrder(DWORD id, int position) {
    const auto found = std::find_if(m_objects.begin(), m_objects.end(),
                                    [id](const CTavObject* object) { return object->GetID() == id; });
    if (found == m_objects.end())
        return TAVERROR_OBJECTNOTFOUND;
    CTavObject* object = *found;
    m_objects.erase(found);
    const auto at = position < 0 ? 0 : std::min<size_t>(static_cast<size_t>(position), m_objects.size());
    m_objects.insert(m_objects.begin() + static_cast<std::ptrdiff_t>(at), object);
    object->InvalidateOn(this);
    return TAVERROR_OK;
}

DWORD CTavScreen::SetBackgroundImage(const char* path, int mode) {
    if (path == nullptr || *path == '\0')
        return TAVERROR_LOADBITMAP;
    // The new background is built first, so a failure keeps the old one.
    auto* background = new CTavObject;
    const DWORD result = background->Initialize(TAVID_LIBRARY, 0, 0, path, nullptr);
    if (result != TAVERROR_OK) {
        background->Finish();
        delete background;
        return result;
    }
    tav::DiscardObject(std::exchange(m_background, background));
    DropStretchedBackground();
    m_backgroundMode = mode;
    if (mode == TAVBACK_CENTER)
        background->SetPosition(static_cast<float>((m_width - background->GetWidth()) / 2),
                                static_cast<float>((m_height - background->GetHeight()) / 2));
    Invalidate();
    return TAVERROR_OK;
}

void CTavScreen::RemoveBackgroundImage() {
    tav::DiscardObject(std::exchange(m_background, nullptr));
    DropStretchedBackground();
    Invalidate();
}

void CTavScreen::SetBackColor(COLORREF colour) {
    m_backColour = colour;
    Invalidate();
}

DWORD CTavScreen::SetMenuBar(CTavObject* menuBar) {
    if (menuBar == nullptr)
        return TAVERROR_NULLPOINTER;
    if (m_menuBar != nullptr)
        m_menuBar->InvalidateOn(this);
    if (menuBar != m_menuBar)
        tav::DiscardObject(std::exchange(m_menuBar, menuBar));
    menuBar->InvalidateOn(this);
    return TAVERROR_OK;
}

void CTavScreen::RemoveMenuBar() {
    if (m_menuBar != nullptr)
        m_menuBar->InvalidateOn(this);
    tav::DiscardObject(std::exchange(m_menuBar, nullptr));
}

DWORD CTavScreen::SetPopupMenu(CTavObject* popupMenu) {
    if (popupMenu == nullptr)
        return TAVERROR_NULLPOINTER;
    if (popupMenu != m_popupMenu)
        tav::DiscardObject(std::exchange(m_popupMenu, popupMenu));
    Invalidate();
    return TAVERROR_OK;
}

void CTavScreen::ClosePopupMenu() {
    if (m_popupMenu == nullptr)
        return;
    tav::DiscardObject(std::exchange(m_popupMenu, nullptr));
    Invalidate();
}

void CTavScreen::SetScrollBarsObject(CTavScrollBarsBase* bars) {
    if (m_scrollBars != nullptr && m_scrollBars != bars) {
        m_scrollBars->Finish();
        delete m_scrollBars;
    }
    m_scrollBars = bars;
    Invalidate();
}

void CTavScreen::GetScrollPosition(int* x, int* y) const {
    if (x != nullptr)
        *x = m_scrollBars != nullptr ? m_scrollBars->GetScrollX() : 0;
    if (y != nullptr)
        *y = m_scrollBars != nullptr ? m_scrollBars->GetScrollY() : 0;
}

void CTavScreen::ScrollPositionChanged(int oldX, int oldY, int newX, int newY) {
    for (CTavScreen* sub : std::vector<CTavScreen*>(m_subScreens))
        sub->SetPosition(sub->m_x, sub->m_y);
    for (CTavObject* object : ObjectsSnapshot())
        object->SetPosition(object->GetX(), object->GetY());
    Invalidate();
    AfterSetScrollPosition(oldX, oldY, newX, newY);
}

// ---- screens ----

DWORD CTavScreen::SetChildScreen(CTavScreen* popup) {
    if (m_modalChild != nullptr)
        return TAVERROR_CHILDEXISTS;
    if (popup == nullptr)
        return TAVERROR_NULLPOINTER;
    if (popup->m_type != TAVSCREEN_POPUP)
        return TAVERROR_NOTPOPUP;
    if (popup->m_parent != this)
        return TAVERROR_NOPARENT;
    // A popup whose Initialize failed could never close itself.
    if (popup->m_surface == nullptr)
        return TAVERROR_INVALIDARG;
    CTavApp* app = m_app != nullptr ? m_app : tav::CurrentApp();
    if (app == nullptr)
        return TAVERROR_NOAPP;
    ClosePopupMenu();
    m_modalChild = popup;
    Invalidate();
    RedrawBackBuffer();

    // Removal during the loop is deferred until it is over, this screen included.
    tav::BusyScope busy;
    tav::Runtime& runtime = tav::TheRuntime();
    m_modalRunning = 1;
    ++runtime.modalDepth;
    if (runtime.display)
        runtime.display->EnterModalLoop();
    while (m_modalRunning && !m_discarded && runtime.quit == 0) {
        if (!app->PumpMessages() || !m_modalRunning || m_discarded || runtime.quit != 0)
            break;
        app->RunFrameOrWait();
    }
    if (runtime.display)
        runtime.display->LeaveModalLoop();
    --runtime.modalDepth;
    m_modalRunning = 0;
    runtime.hoverStale = 1;
    return TAVERROR_OK;
}

DWORD CTavScreen::RemoveChildScreen() {
    if (m_modalChild == nullptr)
        return TAVERROR_NOCHILDSCREEN;
    CTavScreen* child = std::exchange(m_modalChild, nullptr);
    child->m_discarded = 1;
    m_modalRunning = 0;
    tav::DiscardScreen(child);
    SetFocus(TRUE);
    Invalidate();
    return TAVERROR_OK;
}

DWORD CTavScreen::AddSubScreen(CTavScreen* sub) {
    if (sub == nullptr)
        return TAVERROR_NULLPOINTER;
    if (HasScreen(sub->m_id))
        return TAVERROR_DUPLICATEID;
    if (sub->m_parent == nullptr || sub->m_parent->m_id != m_id)
        return TAVERROR_NOPARENT;
    if (sub->m_type != TAVSCREEN_SUBSCREEN)
        return TAVERROR_NOTSUBSCREEN;
    m_subScreens.push_back(sub);
    Invalidate();
    return TAVERROR_OK;
}

DWORD CTavScreen::RemoveSubScreen(DWORD id) {
    const auto found = std::find_if(m_subScreens.begin(), m_subScreens.end(),
                                    [id](const CTavScreen* screen) { return screen->m_id == id; });
    if (found == m_subScreens.end())
        return TAVERROR_SCREENNOTFOUND;
    CTavScreen* sub = *found;
    m_subScreens.erase(found);
    sub->m_discarded = 1;
    Invalidate();
    tav::DiscardScreen(sub);
    return TAVERROR_OK;
}

CTavScreen* CTavScreen::GetScreenByID(DWORD id) const {
    for (CTavScreen* sub : m_subScreens)
        if (sub->m_id == id)
            return sub;
    return nullptr;
}

BOOL CTavScreen::HasScreen(DWORD id) const {
    return GetScreenByID(id) != nullptr;
}

CTavScreen* CTavScreen::GetSubScreenAt(int index) const {
    return index >= 0 && index < GetSubScreenCount() ? m_subScreens[static_cast<size_t>(index)] : nullptr;
}

DWORD CTavScreen::Close() {
    if (m_parent == nullptr) {
        if (m_app != nullptr && m_app->GetChildScreen() == this)
            return m_app->RemoveChildScreen();
        return TAVERROR_NOPARENT;
    }
    if (m_type == TAVSCREEN_POPUP) {
        if (m_parent->m_modalChild == this)
            m_parent->m_modalRunning = 0;
        m_parent->Invalidate();
        return TAVERROR_OK;
    }
    return m_parent->RemoveSubScreen(m_id);
}

void CTavScreen::SetFocus(BOOL focus) {
    if (!focus) {
        m_focus = 0;
        return;
    }
    if (m_focus != 1) {
        for (CTavScreen* sub : m_subScreens)
            sub->SetFocus(FALSE);
        if (m_parent != nullptr) {
            if (m_type == TAVSCREEN_SUBSCREEN)
                m_parent->SetFocus(FALSE);
            for (CTavScreen* sibling : m_parent->m_subScreens)
                sibling->SetFocus(FALSE);
        }
    }
    m_focus = 1;
}

// ---- event routing ----

namespace {

// A sub screen (or one nested in it) that runs a modal popup takes all input, like a modal child.
CTavScreen* SubScreenWithModal(const CTavScreen* screen) {
    for (int i = 0; i < screen->GetSubScreenCount(); ++i) {
        CTavScreen* sub = screen->GetSubScreenAt(i);
        if (sub->GetChildScreen() != nullptr || SubScreenWithModal(sub) != nullptr)
            return sub;
    }
    return nullptr;
}

} // namespace

CTavScreen* CTavScreen::Descend(bool followFocus) {
    CTavScreen* current = this;
    while (current != nullptr) {
        if (current->m_frozen)
            return nullptr;
        if (current->m_modalChild != nullptr) {
            current = current->m_modalChild;
            continue;
        }
        if (CTavScreen* modalSub = SubScreenWithModal(current)) {
            current = modalSub;
            continue;
        }
        if (followFocus) {
            const auto focused = std::find_if(current->m_subScreens.begin(), current->m_subScreens.end(),
                                              [](const CTavScreen* sub) { return sub->m_focus == 1; });
            if (focused != current->m_subScreens.end()) {
                current = *focused;
                continue;
            }
        }
        break;
    }
    return current;
}

CTavScreen* CTavScreen::GetInnermostScreen() {
    return Descend(false);
}

template <typename... Args>
BOOL CTavScreen::RouteFrom(CTavScreen* start, bool followFocus, BOOL (CTavScreen::*route)(Args...),
                           Args... args) {
    CTavScreen* target = start->Descend(followFocus);
    return target != nullptr ? (target->*route)(args...) : FALSE;
}

CTavScreen* CTavScreen::SubScreenAt(int x, int y) const {
    for (CTavScreen* sub : m_subScreens)
        if (sub->ContainsPoint(x, y))
            return sub;
    return nullptr;
}

void CTavScreen::MouseMove(int x, int y) {
    tav::BusyScope busy;
    RouteFrom(this, false, &CTavScreen::RouteMouseMove, x, y);
}

void CTavScreen::LMouseDown(int x, int y) {
    tav::BusyScope busy;
    RouteFrom(this, false, &CTavScreen::RouteLMouseDown, x, y);
}

void CTavScreen::LMouseUp(int x, int y) {
    tav::BusyScope busy;
    RouteFrom(this, false, &CTavScreen::RouteLMouseUp, x, y);
}

void CTavScreen::RMouseDown(int x, int y) {
    tav::BusyScope busy;
    RouteFrom(this, false, &CTavScreen::RouteRMouseDown, x, y);
}

void CTavScreen::RMouseUp(int x, int y) {
    tav::BusyScope busy;
    RouteFrom(this, false, &CTavScreen::RouteRMouseUp, x, y);
}

void CTavScreen::DoubleClick(int x, int y) {
    tav::BusyScope busy;
    RouteFrom(this, false, &CTavScreen::RouteDoubleClick, x, y);
}

void CTavScreen::KeyDown(UINT key) {
    tav::BusyScope busy;
    // Escape closes an open menu before anything else sees it.
    if (key == VK_ESCAPE && CloseOpenMenu())
        return;
    RouteFrom(this, true, &CTavScreen::RouteKeyDown, key);
}

bool CTavScreen::CloseOpenMenu() {
    for (CTavScreen* screen = Descend(true); screen != nullptr; screen = screen->m_parent) {
        if (screen->m_popupMenu != nullptr) {
            screen->ClosePopupMenu();
            return true;
        }
        auto* bar = dynamic_cast<CTavMenuBar*>(screen->m_menuBar);
        if (bar != nullptr && bar->GetOpenMenu() != -1) {
            bar->CloseMenus();
            return true;
        }
        if (screen == this)
            break;
    }
    return false;
}

void CTavScreen::Char(char c) {
    tav::BusyScope busy;
    RouteFrom(this, true, &CTavScreen::RouteChar, c);
}

void CTavScreen::MouseWheel(int x, int y, int delta) {
    tav::BusyScope busy;
    RouteFrom(this, false, &CTavScreen::RouteMouseWheel, x, y, delta);
}

BOOL CTavScreen::RouteMouseWheel(int x, int y, int delta) {
    if (!ContainsPoint(x, y))
        return FALSE;
    if (CTavScreen* sub = SubScreenAt(x, y))
        return RouteFrom(sub, false, &CTavScreen::RouteMouseWheel, x, y, delta);
    for (CTavObject* object : ObjectsSnapshot()) {
        if (!Owns(object) || !object->HitTest(x, y))
            continue;
        if (object->OnMouseWheel(x, y, delta) || Gone())
            return TRUE;
    }
    // Three steps of 20 pixels a notch.
    if (m_scrollBars != nullptr && m_scrollBars->Wheel(delta, 60))
        return FALSE;
    AfterMouseWheel(x, y, delta);
    return FALSE;
}

BOOL CTavScreen::RouteMouseMove(int x, int y) {
    if (m_scrollBars != nullptr && m_scrollBars->OnMouseMove(x, y))
        return FALSE;
    for (CTavObject* menu : {m_menuBar, m_popupMenu}) {
        if (menu == nullptr)
            continue;
        if (menu->HitTest(x, y)) {
            menu->OnMouseMove(x, y, TRUE);
            return FALSE;
        }
        if (menu->OnMouseMove(x, y, FALSE))
            return TRUE;
        if (Gone())
            return TRUE;
    }
    bool contained = false;
    for (CTavScreen* sub : std::vector<CTavScreen*>(m_subScreens)) {
        if (sub->m_discarded || !sub->ContainsPoint(x, y))
            continue;
        contained = true;
        if (CTavScreen* target = sub->Descend(false); target != nullptr && target->RouteMouseMove(x, y))
            return TRUE;
        if (Gone())
            return TRUE;
    }
    if (contained)
        return FALSE;
    for (CTavObject* object : ObjectsSnapshot()) {
        if (!Owns(object))
            continue;
        if (object->OnMouseMove(x, y, object->HitTest(x, y)))
            return TRUE;
        if (Gone())
            return TRUE;
    }
    AfterMouseMove(x, y);
    return FALSE;
}

BOOL CTavScreen::RouteLMouseDown(int x, int y) {
    if (!ContainsPoint(x, y))
        return FALSE;
    if (m_scrollBars != nullptr && m_scrollBars->HitTest(x, y)) {
        m_scrollBars->OnLMouseDown(x, y);
        return FALSE;
    }
    if (m_menuBar != nullptr && m_menuBar->HitTest(x, y))
        return FALSE;
    if (m_popupMenu != nullptr) {
        if (m_popupMenu->HitTest(x, y))
            return FALSE;
        ClosePopupMenu();
    }
    if (CTavScreen* sub = SubScreenAt(x, y)) {
        sub->SetFocus(TRUE);
        return RouteFrom(sub, false, &CTavScreen::RouteLMouseDown, x, y);
    }
    SetFocus(TRUE);
    for (CTavObject* object : ObjectsSnapshot()) {
        if (!Owns(object))
            continue;
        const DWORD id = object->GetID();
        if (object->HitTest(x, y)) {
            object->SetFocus(TRUE);
            if (Gone())
                return TRUE;
            if (!Owns(object))
                continue;
            CTavScrollBarsBase* bars = object->GetScrollBarsObject();
            if (bars != nullptr && bars->HitTest(x, y)) {
                bars->OnLMouseDown(x, y);
            } else if (object->OnLMouseDown(x, y)) {
                return TRUE;
            }
            if (Gone())
                return TRUE;
            if (OnObjectLMouseDown(id))
                return TRUE;
            if (Gone())
                return TRUE;
        } else if (object->HasFocus()) {
            object->SetFocus(FALSE);
            if (Gone())
                return TRUE;
        }
    }
    AfterLMouseDown(x, y);
    return FALSE;
}

BOOL CTavScreen::RouteLMouseUp(int x, int y) {
    if (m_scrollBars != nullptr && m_scrollBars->OnLMouseUp(x, y))
        return FALSE;
    if (m_menuBar != nullptr) {
        const bool inside = m_menuBar->HitTest(x, y);
        if (m_menuBar->OnLMouseUp(x, y) || Gone())
            return TRUE;
        if (inside)
            return FALSE;
    }
    if (m_popupMenu != nullptr && m_popupMenu->HitTest(x, y)) {
        CTavObject* popup = m_popupMenu;
        if (popup->OnLMouseUp(x, y) || Gone())
            return TRUE;
        if (m_popupMenu == popup)
            ClosePopupMenu();
        return FALSE;
    }
    if (CTavScreen* sub = SubScreenAt(x, y)) {
        return RouteFrom(sub, false, &CTavScreen::RouteLMouseUp, x, y);
    }
    for (CTavObject* object : ObjectsSnapshot()) {
        if (!Owns(object) || !object->HitTest(x, y))
            continue;
        const DWORD id = object->GetID();
        if (object->OnLMouseUp(x, y) || Gone())
            return TRUE;
        if (OnObjectLMouseUp(id) || Gone())
            return TRUE;
    }
    if (!Quitting())
        AfterLMouseUp(x, y);
    return FALSE;
}

BOOL CTavScreen::RouteRMouseDown(int x, int y) {
    if (!ContainsPoint(x, y))
        return FALSE;
    if (m_scrollBars != nullptr && m_scrollBars->HitTest(x, y))
        return FALSE;
    if (m_menuBar != nullptr && m_menuBar->HitTest(x, y))
        return FALSE;
    if (m_popupMenu != nullptr && !m_popupMenu->HitTest(x, y))
        ClosePopupMenu();
    if (CTavScreen* sub = SubScreenAt(x, y)) {
        return RouteFrom(sub, false, &CTavScreen::RouteRMouseDown, x, y);
    }
    for (CTavObject* object : ObjectsSnapshot()) {
        if (!Owns(object))
            continue;
        const DWORD id = object->GetID();
        if (object->HitTest(x, y)) {
            object->SetFocus(TRUE);
            if (Gone())
                return TRUE;
            if (!Owns(object))
                continue;
            if (object->OnRMouseDown(x, y) || Gone())
                return TRUE;
            if (OnObjectRMouseDown(id) || Gone())
                return TRUE;
        } else if (object->HasFocus()) {
            object->SetFocus(FALSE);
            if (Gone())
                return TRUE;
        }
    }
    if (!Quitting())
        AfterRMouseDown(x, y);
    return FALSE;
}

BOOL CTavScreen::RouteRMouseUp(int x, int y) {
    if (!ContainsPoint(x, y))
        return FALSE;
    if (m_scrollBars != nullptr && m_scrollBars->HitTest(x, y))
        return FALSE;
    if (m_menuBar != nullptr && m_menuBar->HitTest(x, y))
        return FALSE;
    if (CTavScreen* sub = SubScreenAt(x, y)) {
        return RouteFrom(sub, false, &CTavScreen::RouteRMouseUp, x, y);
    }
    for (CTavObject* object : ObjectsSnapshot()) {
        if (!Owns(object) || !object->HitTest(x, y))
            continue;
        const DWORD id = object->GetID();
        if (object->OnRMouseUp(x, y) || Gone())
            return TRUE;
        if (OnObjectRMouseUp(id) || Gone())
            return TRUE;
    }
    if (!Quitting())
        AfterRMouseUp(x, y);
    return FALSE;
}

BOOL CTavScreen::RouteDoubleClick(int x, int y) {
    if (CTavScreen* sub = SubScreenAt(x, y)) {
        return RouteFrom(sub, false, &CTavScreen::RouteDoubleClick, x, y);
    }
    for (CTavObject* object : ObjectsSnapshot()) {
        if (!Owns(object) || !object->HitTest(x, y))
            continue;
        const DWORD id = object->GetID();
        if (object->OnDoubleClick(x, y) || Gone())
            return TRUE;
        AfterObjectDoubleClick(id, x, y);
        if (Gone())
            return TRUE;
    }
    AfterDoubleClick(x, y);
    return FALSE;
}

BOOL CTavScreen::RouteKeyDown(UINT key) {
    if (!m_focus)
        return FALSE;
    for (CTavObject* object : ObjectsSnapshot()) {
        if (!Owns(object) || !object->HasFocus())
            continue;
        if (object->OnKeyDown(key) || Gone())
            return TRUE;
    }
    AfterKeyDown(key);
    return FALSE;
}

BOOL CTavScreen::RouteChar(char c) {
    if (!m_focus)
        return FALSE;
    for (CTavObject* object : ObjectsSnapshot()) {
        if (!Owns(object) || !object->HasFocus())
            continue;
        if (object->OnChar(c) || Gone())
            return TRUE;
    }
    AfterChar(c);
    return FALSE;
}
