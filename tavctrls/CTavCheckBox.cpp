#include "CTavCheckBox.h"

#include "CTavScreen.h"
#include "TavRuntime.h"

CTavCheckBox::CTavCheckBox() = default;

CTavCheckBox::~CTavCheckBox() {
    delete m_checkedImage;
    delete m_uncheckedImage;
}

DWORD CTavCheckBox::Initialize(const char* caption, DWORD id, float x, float y, int width, int height,
                               CTavScreen* screen, const char* checkedBitmap, const char* uncheckedBitmap) {
    m_caption = caption != nullptr ? caption : "";
    if (width < 1 || height < 1)
        return TAVERROR_INVALIDARG;
    if (checkedBitmap == nullptr || *checkedBitmap == '\0' || uncheckedBitmap == nullptr ||
        *uncheckedBitmap == '\0')
        return TAVERROR_LOADBITMAP;
    m_checkedPath = checkedBitmap;
    m_uncheckedPath = uncheckedBitmap;
    DWORD result = CTavObject::Initialize(id, x, y, width, height, screen);
    if (result != TAVERROR_OK) {
        Finish();
        return result;
    }
    CTavObject** parts[] = {&m_checkedImage, &m_uncheckedImage};
    const char* paths[] = {checkedBitmap, uncheckedBitmap};
    for (int i = 0; i < 2; ++i) {
        FinishPart(*parts[i]);
        *parts[i] = new CTavObject;
        result = (*parts[i])->Initialize(TAVID_LIBRARY, 1, 1, paths[i], m_boxSize, height, nullptr);
        if (result != TAVERROR_OK) {
            Finish();
            return result;
        }
    }
    SetBoxSide(m_boxSide);
    InvalidateScreen();
    return TAVERROR_OK;
}

CTavObject* CTavCheckBox::Clone(CTavObject* target, int withScreen) {
    auto* copy = target != nullptr ? static_cast<CTavCheckBox*>(target) : new CTavCheckBox;
    copy->m_fontName = m_fontName;
    copy->m_fontWidth = m_fontWidth;
    copy->m_fontHeight = m_fontHeight;
    copy->m_fontWeight = m_fontWeight;
    copy->m_textColour = m_textColour;
    copy->m_backColour = m_backColour;
    copy->m_caption = m_caption;
    copy->m_checkedPath = m_checkedPath;
    copy->m_uncheckedPath = m_uncheckedPath;
    copy->m_value = m_value;
    copy->m_boxSide = m_boxSide;
    copy->m_boxSize = m_boxSize;
    FinishPart(copy->m_checkedImage);
    FinishPart(copy->m_uncheckedImage);
    if (m_checkedImage != nullptr)
        copy->m_checkedImage = m_checkedImage->Clone(nullptr, 0);
    if (m_uncheckedImage != nullptr)
        copy->m_uncheckedImage = m_uncheckedImage->Clone(nullptr, 0);
    CopyBaseTo(copy, withScreen);
    copy->CreateImage();
    return copy;
}

void CTavCheckBox::SetBoxSide(int side) {
    m_boxSide = side;
    const float x = side == 0 ? static_cast<float>(m_width - m_boxSize) : 1.0f;
    for (CTavObject* part : {m_checkedImage, m_uncheckedImage})
        if (part != nullptr)
            part->SetPosition(x, 0);
    Redraw();
}

void CTavCheckBox::DrawContent() {
    if (m_image == nullptr)
        return;
    m_image->Fill(tav::PixelOfColour(m_backColour));
    m_image->SetFont(m_fontName.c_str(), m_fontWidth, m_fontHeight, m_fontWeight);
    m_image->DrawText(m_boxSide == 0 ? 0 : m_boxSize, 0, m_textColour, m_caption.c_str());
    if (CTavObject* box = m_value ? m_checkedImage : m_uncheckedImage)
        box->Display(m_image);
}

void CTavCheckBox::Toggle() {
    m_value = m_value ? FALSE : TRUE;
    Redraw();
    InvalidateScreen();
    if (m_screen != nullptr)
        m_screen->OnCheckBoxClick(m_id, m_value);
}

BOOL CTavCheckBox::OnLMouseUp(int, int) {
    Toggle();
    return FALSE;
}

BOOL CTavCheckBox::OnKeyDown(UINT key) {
    if (key == VK_SPACE)
        Toggle();
    return FALSE;
}

void CTavCheckBox::SetValue(BOOL value) {
    m_value = value ? TRUE : FALSE;
    Redraw();
}

void CTavCheckBox::SetFont(const char* name, int width, int height, int weight) {
    m_fontName = name != nullptr ? name : "";
    m_fontWidth = ClampLength(width);
    m_fontHeight = ClampLength(height);
    m_fontWeight = weight;
    Redraw();
}

void CTavCheckBox::SetTextColor(COLORREF colour) {
    m_textColour = colour;
    Redraw();
}

void CTavCheckBox::SetBackColor(COLORREF colour) {
    m_backColour = colour;
    Redraw();
}

DWORD CTavCheckBox::SetWidth(int w) {
    const DWORD result = CTavObject::SetWidth(w);
    if (result == TAVERROR_OK)
        SetBoxSide(m_boxSide);
    return result;
}

DWORD CTavCheckBox::SetHeight(int h) {
    if (h < 1)
        return TAVERROR_INVALIDARG;
    for (CTavObject* part : {m_checkedImage, m_uncheckedImage})
        if (part != nullptr)
            part->SetHeight(h);
    return CTavObject::SetHeight(h);
}

void CTavCheckBox::Restore() {
    for (CTavObject* part : {m_checkedImage, m_uncheckedImage})
        if (part != nullptr)
            part->Restore();
    CTavObject::Restore();
}

void CTavCheckBox::Finish() {
    FinishPart(m_checkedImage);
    FinishPart(m_uncheckedImage);
    CTavObject::Finish();
}
