#pragma once

#include "CTavScrollBarsBase.h"
#include "TavErrors.h"
#include "TavWindows.h"

#include <string>

class CTavObject;
class CTavScreen;

// Horizontal and vertical scroll bars owned by a screen or an object whose content is larger than its
// view: tracks, arrows with auto-repeat and bulbs, drawn over the owner's content.
class CTavScrollBars : public CTavScrollBarsBase {
public:
    // Indexes of the parts.
    enum Part {
        HORIZONTAL_TRACK,
        HORIZONTAL_BULB,
        LEFT_ARROW,
        RIGHT_ARROW,
        VERTICAL_TRACK,
        VERTICAL_BULB,
        UP_ARROW,
        DOWN_ARROW,
        PART_COUNT
    };
    // Values of the held arrow.
    enum Arrow { ARROW_NONE, ARROW_LEFT, ARROW_RIGHT, ARROW_UP, ARROW_DOWN };

    CTavScrollBars();
    ~CTavScrollBars() override;

    // Attaches to exactly one owner; TAVERROR_NOPARENT for a null owner.
    DWORD Attach(CTavScreen* screen, int contentWidth, int contentHeight, int option);
    DWORD Attach(CTavObject* object, int contentWidth, int contentHeight, int option);

    void SetScrollPosition(int x, int y);
    // The mouse wheel: `delta` in WHEEL_DELTA units a notch, positive away from the user; each notch
    // scrolls `notch` pixels, vertically when the content is taller than the view, else sideways.
    // FALSE when there is nothing to scroll that way.
    BOOL Wheel(int delta, int notch) override;
    // TRUE while a bulb is dragged (it follows the mouse at each Update until the button is up).
    BOOL IsDragging() const { return m_dragAxis != 0; }
    void SetContentSize(int width, int height);
    void SetThickness(int thickness);
    void SetShown(BOOL shown);
    // Bulbs as long as the share of the content in view instead of a fixed length.
    void SetProportionalBulb(BOOL proportional);

    int GetContentWidth() const { return m_contentWidth; }
    int GetContentHeight() const { return m_contentHeight; }
    int GetViewWidth() const { return m_viewWidth; }
    int GetViewHeight() const { return m_viewHeight; }
    int GetThickness() const { return m_thickness; }
    int GetOption() const { return m_option; }
    int GetHeldArrow() const { return m_heldArrow; }
    int GetStep() const { return m_step; }
    BOOL IsHorizontalShown() const { return m_geometry.horizontal; }
    BOOL IsVerticalShown() const { return m_geometry.vertical; }
    // A part (null when it is not built).
    const CTavObject* GetPart(int index) const;

    // CTavScrollBarsBase
    int GetScrollX() const override { return m_scrollX; }
    int GetScrollY() const override { return m_scrollY; }
    BOOL HitTest(int x, int y) override;
    BOOL OnMouseMove(int x, int y) override;
    BOOL OnLMouseDown(int x, int y) override;
    BOOL OnLMouseUp(int x, int y) override;
    void Update() override;
    void Draw(CTavSurface* surface) override;
    void OwnerMoved() override;
    void OwnerResized() override;
    void Restore() override;
    void Finish() override;

private:
    // What the parts look like; the parts are rebuilt only when it changes.
    struct Geometry {
        bool horizontal = false;
        bool vertical = false;
        int thickness = 0;
        int viewWidth = 0;
        int viewHeight = 0;
        int horizontalBulbX = 0;
        int horizontalBulbLength = 0;
        int verticalBulbY = 0;
        int verticalBulbLength = 0;
        bool operator==(const Geometry&) const = default;
    };

    DWORD AttachCommon(int contentWidth, int contentHeight, int option);
    void ReadOwnerSize();
    void ApplyThicknessRule();
    Geometry ComputeGeometry() const;
    // Re-computes the geometry and rebuilds what changed; true when the bars look different.
    bool Rebuild();
    void PlacePart(int index, const std::string& path, int x, int y, int width, int height);
    void HidePart(int index);
    void DeleteParts();
    // Clamps the position after the view or content changed, or repaints the owner when the bars
    // changed; the owner may be told, so this is the last thing a caller does.
    void Settle(bool changed);
    void RepaintOwner();
    void OwnerAppPosition(int* x, int* y) const;
    // The arrow under an application-area point (ARROW_NONE when none).
    int ArrowAt(int x, int y) const;
    bool OnArrow(int arrow, int x, int y) const;
    bool OnHorizontalTrack(int x, int y) const;
    bool OnVerticalTrack(int x, int y) const;
    void Step(int arrow);
    void PressTrack(bool horizontal, int x, int y);
    // Starts dragging the bulb under the point; false when there is none.
    bool PressBulb(int x, int y);
    void Drag();

    float m_repeatInterval = 0.2f;
    int m_step = 10;
    int m_thickness = 20;
    CTavScreen* m_ownerScreen = nullptr;
    CTavObject* m_ownerObject = nullptr;
    int m_viewWidth = 0;
    int m_viewHeight = 0;
    int m_scrollX = 0;
    int m_scrollY = 0;
    int m_contentWidth = 0;
    int m_contentHeight = 0;
    // Horizontal track, horizontal bulb, left, right, vertical track, vertical bulb, up, down.
    CTavObject* m_parts[8] = {};
    int m_option = 0;
    int m_heldArrow = 0;
    float m_heldTime = 0;
    std::string m_trackPath = "art//scrollbar.bmp";
    std::string m_bulbPath = "art//scrollbulb.bmp";
    std::string m_upPath = "art//scrollup.bmp";
    std::string m_downPath = "art//scrolldown.bmp";
    std::string m_leftPath = "art//scrollleft.bmp";
    std::string m_rightPath = "art//scrollright.bmp";
    int m_proportionalBulb = 0;
    int m_bulbLength = 20;
    int m_shown = 1;
    // The thickness asked for; small views use less (see ApplyThicknessRule).
    int m_wantedThickness = 20;
    Geometry m_geometry;
    // 1 horizontal, 2 vertical while a bulb is dragged; where along it the mouse holds it.
    int m_dragAxis = 0;
    int m_dragGrip = 0;
};
