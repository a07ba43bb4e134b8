#include "CTavButton.h"

#include "CTavScreen.h"

CTavButton::CTavButton() = default;

CTavButton::~CTavButton() {
    delete m_upImage;
    delete m_overImage;
    delete m_downImage;
}

DWORD CTavButton::Initialize(const char* caption, DWORD id, float x, float y, int width, int height,
                             CTavScreen* screen, const char* up, const char* over, const char* down) {
    m_caption = caption != nullptr ? caption : "";
    if (width < 1 || height < 1)
        return TAVERROR_INVALIDARG;
    if (up == nullptr || *up == '\0' || over == nullptr || *over == '\0' || down == nullptr || *down == '\0')
        return TAVERROR_LOADBITMAP;
    m_upPath = up;
    m_overPath = over;
    m_downPath = down;
    CTavObject** parts[] = {&m_upImage, &m_overImage, &m_downImage};
    const char* paths[] = {up, over, down};
    for (int i = 0; i < 3; ++i) {
        FinishPart(*parts[i]);
        *parts[i] = new CTavObject;
        const DWORD result = (*parts[i])->Initialize(TAVID_LIBRARY, 0, 0, paths[i], width, height, nullptr);
        if (result != TAVERROR_OK) {
            Finish();
            return result;
        }
    }
    const DWORD result = CTavObject::Initialize(id, x, y, up, width, height, screen);
    if (result != TAVERROR_OK)
        return result;
    InvalidateScreen();
    return TAVERROR_OK;
}

CTavObject* CTavButton::Clone(CTavObject* target, int withScreen) {
    auto* button = target != nullptr ? static_cast<CTavButton*>(target) : new CTavButton;
    button->m_fontName = m_fontName;
    button->m_fontWidth = m_fontWidth;
    button->m_fontHeight = m_fontHeight;
    button->m_fontWeight = m_fontWeight;
    button->m_textColour = m_textColour;
    button->m_textOffsetX = m_textOffsetX;
    button->m_textOffsetY = m_textOffsetY;
    button->m_caption = m_caption;
    button->m_state = m_state;
    button->m_upPath = m_upPath;
    button->m_overPath = m_overPath;
    button->m_downPath = m_downPath;
    CTavObject* const* from[] = {&m_upImage, &m_overImage, &m_downImage};
    CTavObject** to[] = {&button->m_upImage, &button->m_overImage, &button->m_downImage};
    for (int i = 0; i < 3; ++i) {
        FinishPart(*to[i]);
        if (*from[i] != nullptr)
            *to[i] = (*from[i])->Clone(nullptr, 0);
    }
    CopyBaseTo(button, withScreen);
    button->CreateImage();
    return button;
}

CTavObject* CTavButton::StateImage() const {
    if (m_state == 1)
        return m_overImage;
    if (m_state == 2)
        return m_downImage;
    return m_upImage;
}

void CTavButton::DrawContent() {
    if (m_image == nullptr)
        return;
    if (CTavObject* state = StateImage())
        state->Display(m_image);
    m_image->SetFont(m_fontName.c_str(), m_fontWidth, m_fontHeight, m_fontWeight);
    m_image->DrawText(m_textOffsetX, m_textOffsetY, m_textColour, m_caption.c_str());
}

BOOL CTavButton::OnMouseMove(int, int, BOOL inside) {
    SetState(inside ? 1 : 0);
    return FALSE;
}

BOOL CTavButton::OnLMouseDown(int, int) {
    SetState(2);
    return FALSE;
}

BOOL CTavButton::OnLMouseUp(int x, int y) {
    if (!HitTest(x, y)) {
        SetState(0);
        return FALSE;
    }
    SetState(1);
    // The screen's handler may destroy this button: nothing of it is touched afterwards.
    return m_screen != nullptr ? m_screen->OnButtonDown(m_id) : FALSE;
}

void CTavButton::SetState(int state) {
    if (state == m_state)
        return;
    m_state = state;
    Redraw();
}

void CTavButton::SetTextColor(COLORREF colour) {
    m_textColour = colour;
    Redraw();
}

void CTavButton::SetFont(const char* name, int width, int height, int weight) {
    m_fontName = name != nullptr ? name : "";
    m_fontWidth = ClampLength(width);
    m_fontHeight = ClampLength(height);
    m_fontWeight = weight;
    Redraw();
}

void CTavButton::SetTextOffset(int x, int y) {
    m_textOffsetX = ClampCoordinate(x);
    m_textOffsetY = ClampCoordinate(y);
    Redraw();
}

DWORD CTavButton::SetWidth(int w) {
    if (w < 1)
        return TAVERROR_INVALIDARG;
    for (CTavObject* part : {m_upImage, m_overImage, m_downImage})
        if (part != nullptr)
            part->SetWidth(w);
    return CTavObject::SetWidth(w);
}

DWORD CTavButton::SetHeight(int h) {
    if (h < 1)
        return TAVERROR_INVALIDARG;
    for (CTavObject* part : {m_upImage, m_overImage, m_downImage})
        if (part != nullptr)
            part->SetHeight(h);
    return CTavObject::SetHeight(h);
}

void CTavButton::Restore() {
    for (CTavObject* part : {m_upImage, m_overImage, m_downImage})
        if (part != nullptr)
            part->Restore();
    CTavObject::Restore();
}

void CTavButton::Finish() {
    FinishPart(m_upImage);
    FinishPart(m_overImage);
    FinishPart(m_downImage);
    CTavObject::Finish();
}
