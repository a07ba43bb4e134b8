#include "CTavStatic.h"

#include "CTavScreen.h"
#include "CTavScrollBars.h"
#include "TavRuntime.h"
#include "TavText.h"

CTavStatic::CTavStatic() = default;

CTavStatic::~CTavStatic() {
    delete m_background;
}

DWORD CTavStatic::Initialize(const char* text, DWORD id, float x, float y, int width, int height,
                             CTavScreen* screen, const char* backBitmap) {
    if (width < 1 || height < 1)
        return TAVERROR_INVALIDARG;
    const DWORD result = CTavObject::Initialize(id, x, y, width, height, screen);
    if (result != TAVERROR_OK)
        return result;
    if (backBitmap != nullptr && *backBitmap != '\0') {
        FinishPart(m_background);
        m_background = new CTavObject;
        const DWORD loaded =
            m_background->Initialize(TAVID_LIBRARY, 0, 0, backBitmap, width, height, nullptr);
        if (loaded != TAVERROR_OK)
            return loaded;
    }
    SetText(text);
    return TAVERROR_OK;
}

CTavObject* CTavStatic::Clone(CTavObject* target, int withScreen) {
    auto* copy = target != nullptr ? static_cast<CTavStatic*>(target) : new CTavStatic;
    copy->m_text = m_text;
    copy->m_fontName = m_fontName;
    copy->m_fontWidth = m_fontWidth;
    copy->m_fontHeight = m_fontHeight;
    copy->m_fontWeight = m_fontWeight;
    copy->m_textColour = m_textColour;
    copy->m_backColour = m_backColour;
    copy->m_multiline = m_multiline;
    copy->m_textOffsetX = m_textOffsetX;
    copy->m_textOffsetY = m_textOffsetY;
    FinishPart(copy->m_background);
    if (m_background != nullptr)
        copy->m_background = m_background->Clone(nullptr, 0);
    CopyBaseTo(copy, withScreen);
    copy->CreateImage();
    copy->Layout();
    copy->Redraw();
    return copy;
}

int CTavStatic::MeasureWidth(const std::string& text) {
    int width = 0;
    if (m_image != nullptr)
        m_image->GetTextExtent(text.c_str(), m_fontName.c_str(), m_fontWidth, m_fontHeight, m_fontWeight,
                               &width, nullptr);
    return width;
}

void CTavStatic::Layout() {
    m_lines.clear();
    auto* bars = dynamic_cast<CTavScrollBars*>(m_scrollBars);
    if (!m_multiline) {
        m_lines.push_back(m_text);
        // The bars raise a content narrower than the view to the view: a text that fits scrolls no more.
        if (bars != nullptr)
            bars->SetContentSize(MeasureWidth(m_text) + 10, bars->GetContentHeight());
        return;
    }
    const int limit = m_width - 5;
    std::string line;
    for (size_t at = 0; at < m_text.size();) {
        // Whole characters only: a UTF-8 sequence is never split between lines.
        const size_t length = tav::Utf8SequenceLength(m_text, at);
        const std::string character = m_text.substr(at, length);
        at += length;
        if (character == "\n") {
            m_lines.push_back(line + " ");
            line.clear();
            continue;
        }
        const std::string longer = line + character;
        if (!line.empty() && MeasureWidth(longer) >= limit) {
            m_lines.push_back(line);
            line = character;
        } else {
            line = longer;
        }
    }
    if (!line.empty() || m_lines.empty())
        m_lines.push_back(line);
    // Several lines scroll down the height they need, with a small margin below the last.
    if (bars != nullptr)
        bars->SetContentSize(bars->GetContentWidth(), static_cast<int>(m_lines.size()) * m_fontHeight + 5);
}

void CTavStatic::PaintBack() {
    if (m_background == nullptr)
        m_image->Fill(tav::PixelOfColour(m_backColour));
    else
        m_background->Display(m_image);
}

void CTavStatic::DrawContent() {
    if (m_image == nullptr || m_image->GetDDSurface() == nullptr)
        return;
    PaintBack();
    int scrollX = 0, scrollY = 0;
    GetScrollPosition(&scrollX, &scrollY);
    CTavSurface strip;
    if (!MakeStrip(strip))
        return;
    std::size_t from = 0;
    for (std::size_t i = 0; i < m_lines.size(); from += m_lines[i++].size()) {
        const int y = static_cast<int>(i) * m_fontHeight - scrollY + m_textOffsetY;
        if (y >= m_height || y + m_fontHeight <= 0)
            continue;
        DrawLineStrip(strip, from, m_lines[i]);
        BlitStrip(strip, m_textOffsetX - scrollX, y);
    }
}

// Each line is drawn through a strip of the view's width and the font's height, so a line never paints
// outside its own strip; on a background bitmap the strip's back colour is transparent.
bool CTavStatic::MakeStrip(CTavSurface& strip) const {
    if (strip.Create(m_width, m_fontHeight > 0 ? m_fontHeight : 1) != TAVERROR_OK)
        return false;
    strip.SetFont(m_fontName.c_str(), m_fontWidth, m_fontHeight, m_fontWeight);
    return true;
}

void CTavStatic::DrawLineStrip(CTavSurface& strip, std::size_t, const std::string& line) {
    strip.Fill(tav::PixelOfColour(m_backColour));
    strip.DrawText(0, 0, m_textColour, line.c_str());
}

void CTavStatic::BlitStrip(CTavSurface& strip, int x, int y) {
    if (m_background != nullptr)
        strip.BltTransparent(m_image->GetDDSurface(), x, y, tav::PixelOfColour(m_backColour));
    else
        strip.Blt(m_image->GetDDSurface(), x, y);
}

void CTavStatic::SetText(const char* text) {
    m_text = text != nullptr ? text : "";
    Layout();
    Redraw();
}

void CTavStatic::SetMultiline(BOOL multiline) {
    m_multiline = multiline ? TRUE : FALSE;
    Layout();
    Redraw();
}

void CTavStatic::SetFont(const char* name, int width, int height, int weight) {
    m_fontName = name != nullptr ? name : "";
    m_fontWidth = ClampLength(width);
    m_fontHeight = ClampLength(height);
    m_fontWeight = weight;
    Layout();
    Redraw();
}

void CTavStatic::SetTextColor(COLORREF colour) {
    m_textColour = colour;
    Redraw();
}

void CTavStatic::SetBackColor(COLORREF colour) {
    m_backColour = colour;
    Redraw();
}

void CTavStatic::SetTextExtent(int x, int y) {
    m_textOffsetX = ClampCoordinate(x);
    m_textOffsetY = ClampCoordinate(y);
    Redraw();
}

DWORD CTavStatic::SetWidth(int w) {
    if (w < 1)
        return TAVERROR_INVALIDARG;
    if (m_background != nullptr)
        m_background->SetWidth(w);
    const DWORD result = CTavObject::SetWidth(w);
    Layout();
    Redraw();
    return result;
}

DWORD CTavStatic::SetHeight(int h) {
    if (h < 1)
        return TAVERROR_INVALIDARG;
    if (m_background != nullptr)
        m_background->SetHeight(h);
    const DWORD result = CTavObject::SetHeight(h);
    Layout();
    Redraw();
    return result;
}

void CTavStatic::Restore() {
    if (m_background != nullptr)
        m_background->Restore();
    CTavObject::Restore();
}

void CTavStatic::Finish() {
    FinishPart(m_background);
    CTavObject::Finish();
}
