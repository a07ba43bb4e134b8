#include "CTavAnimation.h"

#include "CTavApp.h"
#include "CTavScreen.h"

namespace {

// Frame times are sums of float seconds: a hair below the interval counts as having reached it.
constexpr float kTimeSlack = 1e-4f;

} // namespace

CTavAnimation::CTavAnimation() = default;

CTavAnimation::~CTavAnimation() {
    for (CTavObject* frame : m_frames)
        delete frame;
}

DWORD CTavAnimation::Initialize(DWORD id, float x, float y, int width, int height, CTavScreen* screen) {
    if (width < 1 || height < 1)
        return TAVERROR_INVALIDARG;
    return CTavObject::Initialize(id, x, y, width, height, screen);
}

DWORD CTavAnimation::AddFrame(const char* bitmap) {
    auto* frame = new CTavObject;
    const DWORD result = frame->Initialize(TAVID_LIBRARY, 0, 0, bitmap, m_width, m_height, nullptr);
    // A stretched object reports no failed load itself; its image names the bitmap only once it was read.
    const bool loaded = frame->GetImage() != nullptr && *frame->GetImage()->GetBitmapPath() != '\0';
    if (result != TAVERROR_OK || !loaded) {
        frame->Finish();
        delete frame;
        return result != TAVERROR_OK ? result : TAVERROR_LOADBITMAP;
    }
    m_frames.push_back(frame);
    // The frame on show may just have arrived.
    if (GetFrameCount() - 1 == m_currentFrame)
        Redraw();
    return TAVERROR_OK;
}

CTavObject* CTavAnimation::GetFrame(int index) const {
    return index >= 0 && index < GetFrameCount() ? m_frames[static_cast<size_t>(index)] : nullptr;
}

void CTavAnimation::SetFrameFrequency(float seconds) {
    m_frameInterval = seconds;
}

void CTavAnimation::SetCurrentFrame(int frame) {
    m_currentFrame = frame;
    Redraw();
}

void CTavAnimation::SetRepeatCount(int count) {
    m_repeatCount = count;
}

void CTavAnimation::SetPlayMode(int mode) {
    m_playMode = mode;
}

void CTavAnimation::AfterUpdate() {
    m_elapsed += m_app != nullptr ? m_app->GetFrameTime() : 0.0f;
    if (m_frameInterval <= 0) {
        if (m_currentFrame != 0) {
            m_currentFrame = 0;
            Redraw();
        }
        return;
    }
    if (m_elapsed + kTimeSlack < m_frameInterval)
        return;
    m_elapsed = 0;
    if (Advance())
        Redraw();
}

bool CTavAnimation::Advance() {
    const int count = GetFrameCount();
    switch (m_playMode) {
    case 0:
        m_currentFrame = m_currentFrame + 1 < count ? m_currentFrame + 1 : 0;
        return true;
    case 1:
    case 2:
        if (m_repeatCount < 1)
            return false;
        if (++m_currentFrame >= count) {
            --m_repeatCount;
            m_currentFrame = 0;
        }
        return true;
    case 3:
        if (m_repeatCount < 1)
            return false;
        if (++m_currentFrame >= count) {
            m_currentFrame = 0;
            if (--m_repeatCount == 0 && m_screen != nullptr && m_screen->GetObjectByID(m_id) == this) {
                // Removal is deferred while a frame is drawn; either way this object is done with.
                m_screen->RemoveObject(m_id);
                return false;
            }
        }
        return true;
    default:
        return false;
    }
}

void CTavAnimation::DrawContent() {
    if (m_image == nullptr || m_image->GetDDSurface() == nullptr)
        return;
    if (CTavObject* frame = GetFrame(m_currentFrame))
        frame->Display(m_image);
}

CTavObject* CTavAnimation::Clone(CTavObject* target, int withScreen) {
    auto* copy = target != nullptr ? static_cast<CTavAnimation*>(target) : new CTavAnimation;
    copy->DeleteFrames();
    for (CTavObject* frame : m_frames)
        copy->m_frames.push_back(frame->Clone(nullptr, 0));
    copy->m_currentFrame = m_currentFrame;
    copy->m_frameInterval = m_frameInterval;
    copy->m_elapsed = m_elapsed;
    copy->m_repeatCount = m_repeatCount;
    copy->m_playMode = m_playMode;
    CopyBaseTo(copy, withScreen);
    copy->CreateImage();
    return copy;
}

DWORD CTavAnimation::SetWidth(int w) {
    if (w < 1)
        return TAVERROR_INVALIDARG;
    for (CTavObject* frame : m_frames)
        frame->SetWidth(w);
    return CTavObject::SetWidth(w);
}

DWORD CTavAnimation::SetHeight(int h) {
    if (h < 1)
        return TAVERROR_INVALIDARG;
    for (CTavObject* frame : m_frames)
        frame->SetHeight(h);
    return CTavObject::SetHeight(h);
}

void CTavAnimation::Restore() {
    for (CTavObject* frame : m_frames)
        frame->Restore();
    CTavObject::Restore();
}

void CTavAnimation::Finish() {
    DeleteFrames();
    CTavObject::Finish();
}

void CTavAnimation::DeleteFrames() {
    for (CTavObject* frame : m_frames) {
        frame->Finish();
        delete frame;
    }
    m_frames.clear();
}
