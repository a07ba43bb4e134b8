#include "CTavScrollBars.h"

#include "CTavApp.h"
#include "CTavObject.h"
#include "CTavScreen.h"
#include "TavRuntime.h"

#include <algorithm>

namespace {

// Frame times are sums of float seconds: a hair below the interval counts as having reached it.
constexpr float kTimeSlack = 1e-4f;

int ClampInt(long long value, int low, int high) {
    return static_cast<int>(std::clamp<long long>(value, low, std::max(low, high)));
}

} // namespace

CTavScrollBars::CTavScrollBars() = default;

CTavScrollBars::~CTavScrollBars() {
    DeleteParts();
}

// ---- attaching ----

DWORD CTavScrollBars::Attach(CTavScreen* screen, int contentWidth, int contentHeight, int option) {
    if (screen == nullptr)
        return TAVERROR_NOPARENT;
    m_ownerScreen = screen;
    m_ownerObject = nullptr;
    return AttachCommon(contentWidth, contentHeight, option);
}

DWORD CTavScrollBars::Attach(CTavObject* object, int contentWidth, int contentHeight, int option) {
    if (object == nullptr)
        return TAVERROR_NOPARENT;
    m_ownerObject = object;
    m_ownerScreen = nullptr;
    return AttachCommon(contentWidth, contentHeight, option);
}

DWORD CTavScrollBars::AttachCommon(int contentWidth, int contentHeight, int option) {
    DeleteParts();
    ReadOwnerSize();
    m_contentWidth = std::max(contentWidth, m_viewWidth);
    m_contentHeight = std::max(contentHeight, m_viewHeight);
    m_option = option;
    m_scrollX = 0;
    m_scrollY = 0;
    m_heldArrow = ARROW_NONE;
    m_heldTime = 0;
    ApplyThicknessRule();
    Rebuild();
    return TAVERROR_OK;
}

void CTavScrollBars::ReadOwnerSize() {
    if (m_ownerScreen != nullptr) {
        m_viewWidth = m_ownerScreen->GetWidth();
        m_viewHeight = m_ownerScreen->GetHeight();
    } else if (m_ownerObject != nullptr) {
        m_viewWidth = m_ownerObject->GetWidth();
        m_viewHeight = m_ownerObject->GetHeight();
    }
}

void CTavScrollBars::ApplyThicknessRule() {
    // Three squares (two arrows and the corner) must fit along each side; never thinner than a pixel.
    int thickness = std::max(1, m_wantedThickness);
    if (m_viewWidth < 3 * thickness)
        thickness = m_viewWidth / 3 - 1;
    if (m_viewHeight < 3 * thickness)
        thickness = m_viewHeight / 3 - 1;
    m_thickness = std::max(1, thickness);
}

// ---- geometry and parts ----

CTavScrollBars::Geometry CTavScrollBars::ComputeGeometry() const {
    Geometry g;
    g.thickness = m_thickness;
    g.viewWidth = m_viewWidth;
    g.viewHeight = m_viewHeight;
    if (!m_shown || m_viewWidth < 1 || m_viewHeight < 1)
        return g;
    switch (m_option) {
    case 2:
        g.horizontal = true;
        break;
    case 3:
        g.vertical = true;
        break;
    case 4:
        g.horizontal = m_contentWidth > m_viewWidth;
        g.vertical = m_contentHeight > m_viewHeight;
        break;
    case 5:
        break;
    default:
        g.horizontal = g.vertical = true;
        break;
    }
    // The bulb travels between the first arrow and the second arrow before the corner.
    const auto bulbOffset = [this](int view, int scroll, int content) {
        const long long free = static_cast<long long>(view) - 3LL * m_thickness;
        return content > 0 ? static_cast<int>(free * scroll / content) + m_thickness : m_thickness;
    };
    const auto bulbLength = [this](int view, int content) {
        if (!m_proportionalBulb)
            return std::max(1, m_bulbLength);
        const long long free = static_cast<long long>(view) - 3LL * m_thickness;
        const long long length = content > 0 ? view * free / content : free;
        return ClampInt(length, 1, view);
    };
    g.horizontalBulbX = bulbOffset(m_viewWidth, m_scrollX, m_contentWidth);
    g.horizontalBulbLength = bulbLength(m_viewWidth, m_contentWidth);
    g.verticalBulbY = bulbOffset(m_viewHeight, m_scrollY, m_contentHeight);
    g.verticalBulbLength = bulbLength(m_viewHeight, m_contentHeight);
    return g;
}

bool CTavScrollBars::Rebuild() {
    const Geometry g = ComputeGeometry();
    if (g == m_geometry)
        return false;
    m_geometry = g;
    const int t = g.thickness, w = g.viewWidth, h = g.viewHeight;
    if (g.horizontal) {
        PlacePart(HORIZONTAL_TRACK, m_trackPath, 0, h - t, w, t);
        PlacePart(HORIZONTAL_BULB, m_bulbPath, g.horizontalBulbX, h - t, g.horizontalBulbLength, t);
        PlacePart(LEFT_ARROW, m_leftPath, 0, h - t, t, t);
        PlacePart(RIGHT_ARROW, m_rightPath, w - 2 * t, h - t, t, t);
    } else {
        for (int part : {HORIZONTAL_TRACK, HORIZONTAL_BULB, LEFT_ARROW, RIGHT_ARROW})
            HidePart(part);
    }
    if (g.vertical) {
        PlacePart(VERTICAL_TRACK, m_trackPath, w - t, 0, t, h);
        PlacePart(VERTICAL_BULB, m_bulbPath, w - t, g.verticalBulbY, t, g.verticalBulbLength);
        PlacePart(UP_ARROW, m_upPath, w - t, 0, t, t);
        PlacePart(DOWN_ARROW, m_downPath, w - t, h - 2 * t, t, t);
    } else {
        for (int part : {VERTICAL_TRACK, VERTICAL_BULB, UP_ARROW, DOWN_ARROW})
            HidePart(part);
    }
    return true;
}

void CTavScrollBars::PlacePart(int index, const std::string& path, int x, int y, int width, int height) {
    CTavObject*& part = m_parts[index];
    // A part keeps its loaded image while only its position changes.
    if (part != nullptr && (part->GetWidth() != width || part->GetHeight() != height)) {
        part->Finish();
        delete part;
        part = nullptr;
    }
    if (part == nullptr) {
        part = new CTavObject;
        // A bitmap that cannot be read leaves a part without image: it draws nothing but still counts.
        part->Initialize(TAVID_LIBRARY, static_cast<float>(x), static_cast<float>(y), path.c_str(), width,
                         height, nullptr);
    } else {
        part->SetPosition(static_cast<float>(x), static_cast<float>(y));
    }
    part->SetVisible(TRUE);
}

void CTavScrollBars::HidePart(int index) {
    if (m_parts[index] != nullptr)
        m_parts[index]->SetVisible(FALSE);
}

void CTavScrollBars::DeleteParts() {
    for (CTavObject*& part : m_parts) {
        if (part == nullptr)
            continue;
        part->Finish();
        delete part;
        part = nullptr;
    }
    m_geometry = Geometry{};
}

const CTavObject* CTavScrollBars::GetPart(int index) const {
    return index >= 0 && index < PART_COUNT ? m_parts[index] : nullptr;
}

// ---- position and content ----

void CTavScrollBars::SetScrollPosition(int x, int y) {
    const int oldX = m_scrollX, oldY = m_scrollY;
    m_scrollX = ClampInt(x, 0, m_contentWidth - m_viewWidth);
    m_scrollY = ClampInt(y, 0, m_contentHeight - m_viewHeight);
    Rebuild();
    const int newX = m_scrollX, newY = m_scrollY;
    // The owner's callback may replace these bars: nothing below touches `this`.
    if (CTavScreen* screen = m_ownerScreen) {
        screen->ScrollPositionChanged(oldX, oldY, newX, newY);
    } else if (CTavObject* object = m_ownerObject) {
        object->AfterSetScrollPosition(oldX, oldY, newX, newY);
        object->Redraw();
    }
}

void CTavScrollBars::SetContentSize(int width, int height) {
    width = std::max(width, m_viewWidth);
    height = std::max(height, m_viewHeight);
    if (width == m_contentWidth && height == m_contentHeight)
        return;
    m_contentWidth = width;
    m_contentHeight = height;
    Settle(Rebuild());
}

void CTavScrollBars::SetThickness(int thickness) {
    m_wantedThickness = std::max(1, thickness);
    ApplyThicknessRule();
    Settle(Rebuild());
}

void CTavScrollBars::SetShown(BOOL shown) {
    m_shown = shown ? 1 : 0;
    Settle(Rebuild());
}

void CTavScrollBars::SetProportionalBulb(BOOL proportional) {
    m_proportionalBulb = proportional ? 1 : 0;
    Settle(Rebuild());
}

void CTavScrollBars::Settle(bool changed) {
    const int x = ClampInt(m_scrollX, 0, m_contentWidth - m_viewWidth);
    const int y = ClampInt(m_scrollY, 0, m_contentHeight - m_viewHeight);
    if (x != m_scrollX || y != m_scrollY)
        SetScrollPosition(x, y); // repaints the owner as well
    else if (changed)
        RepaintOwner();
}

void CTavScrollBars::RepaintOwner() {
    // Only the bars that the owner actually holds are drawn with it.
    if (m_ownerScreen != nullptr && m_ownerScreen->GetScrollBarsObject() == this)
        m_ownerScreen->Invalidate();
    else if (m_ownerObject != nullptr && m_ownerObject->GetScrollBarsObject() == this)
        m_ownerObject->Redraw();
}

// ---- input ----

void CTavScrollBars::OwnerAppPosition(int* x, int* y) const {
    *x = *y = 0;
    if (m_ownerScreen != nullptr) {
        *x = m_ownerScreen->GetAppX();
        *y = m_ownerScreen->GetAppY();
    } else if (m_ownerObject != nullptr) {
        *x = static_cast<int>(m_ownerObject->GetAppX());
        *y = static_cast<int>(m_ownerObject->GetAppY());
    }
}

namespace {

struct Local {
    int x, y;
};

// The owner's far edges belong to it (its hit test includes them): they count as its last pixels.
Local ToLocal(int x, int y, int width, int height) {
    return {x == width ? x - 1 : x, y == height ? y - 1 : y};
}

bool InSquare(Local p, int left, int top, int width, int height) {
    return left <= p.x && p.x < left + width && top <= p.y && p.y < top + height;
}

} // namespace

bool CTavScrollBars::OnArrow(int arrow, int x, int y) const {
    int ownerX = 0, ownerY = 0;
    OwnerAppPosition(&ownerX, &ownerY);
    const int t = m_geometry.thickness, w = m_geometry.viewWidth, h = m_geometry.viewHeight;
    const Local p = ToLocal(x - ownerX, y - ownerY, w, h);
    switch (arrow) {
    case ARROW_LEFT:
        return m_geometry.horizontal && InSquare(p, 0, h - t, t, t);
    case ARROW_RIGHT:
        return m_geometry.horizontal && InSquare(p, w - 2 * t, h - t, t, t);
    case ARROW_UP:
        return m_geometry.vertical && InSquare(p, w - t, 0, t, t);
    case ARROW_DOWN:
        return m_geometry.vertical && InSquare(p, w - t, h - 2 * t, t, t);
    default:
        return false;
    }
}

int CTavScrollBars::ArrowAt(int x, int y) const {
    for (int arrow : {ARROW_LEFT, ARROW_RIGHT, ARROW_UP, ARROW_DOWN})
        if (OnArrow(arrow, x, y))
            return arrow;
    return ARROW_NONE;
}

bool CTavScrollBars::OnHorizontalTrack(int x, int y) const {
    int ownerX = 0, ownerY = 0;
    OwnerAppPosition(&ownerX, &ownerY);
    const int t = m_geometry.thickness, w = m_geometry.viewWidth, h = m_geometry.viewHeight;
    const Local p = ToLocal(x - ownerX, y - ownerY, w, h);
    return m_geometry.horizontal && InSquare(p, 0, h - t, w, t);
}

bool CTavScrollBars::OnVerticalTrack(int x, int y) const {
    int ownerX = 0, ownerY = 0;
    OwnerAppPosition(&ownerX, &ownerY);
    const int t = m_geometry.thickness, w = m_geometry.viewWidth, h = m_geometry.viewHeight;
    const Local p = ToLocal(x - ownerX, y - ownerY, w, h);
    return m_geometry.vertical && InSquare(p, w - t, 0, t, h);
}

BOOL CTavScrollBars::HitTest(int x, int y) {
    if (m_option == 5)
        return FALSE;
    return OnHorizontalTrack(x, y) || OnVerticalTrack(x, y);
}

BOOL CTavScrollBars::OnMouseMove(int, int) {
    return FALSE;
}

BOOL CTavScrollBars::OnLMouseDown(int x, int y) {
    if (m_option == 5 || !HitTest(x, y))
        return FALSE;
    m_heldTime = 0;
    m_heldArrow = ArrowAt(x, y);
    if (m_heldArrow != ARROW_NONE)
        Step(m_heldArrow);
    else if (!PressBulb(x, y))
        PressTrack(OnHorizontalTrack(x, y), x, y);
    return TRUE;
}

BOOL CTavScrollBars::OnLMouseUp(int x, int y) {
    const bool held = m_heldArrow != ARROW_NONE || m_dragAxis != 0;
    m_heldArrow = ARROW_NONE;
    m_dragAxis = 0;
    return held || HitTest(x, y);
}

void CTavScrollBars::Step(int arrow) {
    switch (arrow) {
    case ARROW_LEFT:
        SetScrollPosition(m_scrollX - m_step, m_scrollY);
        break;
    case ARROW_RIGHT:
        SetScrollPosition(m_scrollX + m_step, m_scrollY);
        break;
    case ARROW_UP:
        SetScrollPosition(m_scrollX, m_scrollY - m_step);
        break;
    case ARROW_DOWN:
        SetScrollPosition(m_scrollX, m_scrollY + m_step);
        break;
    default:
        break;
    }
}

void CTavScrollBars::PressTrack(bool horizontal, int x, int y) {
    int ownerX = 0, ownerY = 0;
    OwnerAppPosition(&ownerX, &ownerY);
    const int t = m_geometry.thickness;
    // The stretch between the arrows stands for the whole scroll range, start to end.
    const int view = horizontal ? m_geometry.viewWidth : m_geometry.viewHeight;
    const int travel = view - 3 * t;
    if (travel < 1)
        return;
    const int along = ClampInt(static_cast<long long>(horizontal ? x - ownerX : y - ownerY) - t, 0, travel);
    const long long range = horizontal ? m_contentWidth - m_viewWidth : m_contentHeight - m_viewHeight;
    const int position = static_cast<int>(along * range / travel);
    if (horizontal)
        SetScrollPosition(position, m_scrollY);
    else
        SetScrollPosition(m_scrollX, position);
}

bool CTavScrollBars::PressBulb(int x, int y) {
    int ownerX = 0, ownerY = 0;
    OwnerAppPosition(&ownerX, &ownerY);
    const Geometry& g = m_geometry;
    const Local p = ToLocal(x - ownerX, y - ownerY, g.viewWidth, g.viewHeight);
    if (OnHorizontalTrack(x, y) && p.x >= g.horizontalBulbX &&
        p.x < g.horizontalBulbX + g.horizontalBulbLength) {
        m_dragAxis = 1;
        m_dragGrip = p.x - g.horizontalBulbX;
    } else if (OnVerticalTrack(x, y) && p.y >= g.verticalBulbY &&
               p.y < g.verticalBulbY + g.verticalBulbLength) {
        m_dragAxis = 2;
        m_dragGrip = p.y - g.verticalBulbY;
    }
    return m_dragAxis != 0;
}

// The bulb's offset along the track stands for the scroll position as the geometry places it.
void CTavScrollBars::Drag() {
    CTavApp* app = tav::CurrentApp();
    if (app == nullptr || !app->IsMouseButtonDown()) {
        m_dragAxis = 0;
        return;
    }
    int ownerX = 0, ownerY = 0;
    OwnerAppPosition(&ownerX, &ownerY);
    const bool horizontal = m_dragAxis == 1;
    const long long free = (horizontal ? m_viewWidth : m_viewHeight) - 3LL * m_thickness;
    if (free < 1)
        return;
    const int bulb = (horizontal ? app->GetMouseX() - ownerX : app->GetMouseY() - ownerY) - m_dragGrip;
    const long long content = horizontal ? m_contentWidth : m_contentHeight;
    const int position = ClampInt((bulb - m_thickness) * content / free, 0, static_cast<int>(content));
    if (horizontal && position != m_scrollX)
        SetScrollPosition(position, m_scrollY);
    else if (!horizontal && position != m_scrollY)
        SetScrollPosition(m_scrollX, position);
}

BOOL CTavScrollBars::Wheel(int delta, int notch) {
    const bool vertical = m_contentHeight > m_viewHeight;
    if (!vertical && m_contentWidth <= m_viewWidth)
        return FALSE;
    const int pixels = static_cast<int>(-static_cast<long long>(delta) * notch / WHEEL_DELTA);
    if (vertical)
        SetScrollPosition(m_scrollX,
                          ClampInt(static_cast<long long>(m_scrollY) + pixels, 0, m_contentHeight));
    else
        SetScrollPosition(ClampInt(static_cast<long long>(m_scrollX) + pixels, 0, m_contentWidth), m_scrollY);
    return TRUE;
}

void CTavScrollBars::Update() {
    if (m_dragAxis != 0)
        Drag();
    if (m_heldArrow == ARROW_NONE)
        return;
    CTavApp* app = tav::CurrentApp();
    if (app == nullptr || !app->IsMouseButtonDown()) {
        m_heldArrow = ARROW_NONE;
        return;
    }
    m_heldTime += app->GetFrameTime();
    if (m_heldTime + kTimeSlack < m_repeatInterval)
        return;
    m_heldTime = 0;
    if (!OnArrow(m_heldArrow, app->GetMouseX(), app->GetMouseY())) {
        m_heldArrow = ARROW_NONE;
        return;
    }
    Step(m_heldArrow);
}

// ---- drawing and lifetime ----

void CTavScrollBars::Draw(CTavSurface* surface) {
    if (surface == nullptr)
        return;
    for (CTavObject* part : m_parts)
        if (part != nullptr)
            part->Display(surface);
}

// Parts are placed in the owner's own coordinates, so moving the owner changes nothing here.
void CTavScrollBars::OwnerMoved() {}

void CTavScrollBars::OwnerResized() {
    ReadOwnerSize();
    m_contentWidth = std::max(m_contentWidth, m_viewWidth);
    m_contentHeight = std::max(m_contentHeight, m_viewHeight);
    ApplyThicknessRule();
    Settle(Rebuild());
}

void CTavScrollBars::Restore() {
    for (CTavObject* part : m_parts)
        if (part != nullptr)
            part->Restore();
}

void CTavScrollBars::Finish() {
    DeleteParts();
    m_heldArrow = ARROW_NONE;
}

// ---- the owners' SetScrollBars ----

DWORD CTavScreen::SetScrollBars(int contentWidth, int contentHeight, int option) {
    int oldX = 0, oldY = 0;
    GetScrollPosition(&oldX, &oldY);
    CTavScrollBars* bars = nullptr;
    if (option != 0) {
        bars = new CTavScrollBars;
        bars->Attach(this, contentWidth, contentHeight, option);
    }
    SetScrollBarsObject(bars);
    // New bars start at the top-left corner, and without bars nothing is scrolled.
    if (oldX != 0 || oldY != 0)
        ScrollPositionChanged(oldX, oldY, 0, 0);
    return TAVERROR_OK;
}

DWORD CTavObject::SetScrollBars(int contentWidth, int contentHeight, int option) {
    int oldX = 0, oldY = 0;
    GetScrollPosition(&oldX, &oldY);
    CTavScrollBars* bars = nullptr;
    if (option != 0) {
        bars = new CTavScrollBars;
        bars->Attach(this, contentWidth, contentHeight, option);
    }
    SetScrollBarsObject(bars);
    Redraw();
    if (oldX != 0 || oldY != 0)
        AfterSetScrollPosition(oldX, oldY, 0, 0);
    return TAVERROR_OK;
}
