#pragma once

#include "CTavObject.h"

#include <vector>

// Bitmap frames shown in turn, one every frame interval of the application's clock.
class CTavAnimation : public CTavObject {
public:
    CTavAnimation();
    ~CTavAnimation() override;

    using CTavObject::Initialize;
    DWORD Initialize(DWORD id, float x, float y, int width, int height, CTavScreen* screen) override;

    // Appends a frame from a bitmap stretched to the animation's size; the load's code on failure.
    DWORD AddFrame(const char* bitmap);
    // Seconds between frames; 0 or less keeps the first frame.
    void SetFrameFrequency(float seconds);
    void SetCurrentFrame(int frame);
    void SetRepeatCount(int count);
    // 0 loops for ever; 1 and 2 play the frames repeat-count times, then rest on the first frame;
    // 3 plays them repeat-count times, then removes the animation from its screen.
    void SetPlayMode(int mode);

    int GetFrameCount() const { return static_cast<int>(m_frames.size()); }
    CTavObject* GetFrame(int index) const;
    int GetCurrentFrame() const { return m_currentFrame; }
    float GetFrameFrequency() const { return m_frameInterval; }
    int GetRepeatCount() const { return m_repeatCount; }
    int GetPlayMode() const { return m_playMode; }

    CTavObject* Clone(CTavObject* target, int withScreen) override;
    void AfterUpdate() override;
    void DrawContent() override;
    DWORD SetWidth(int w) override;
    DWORD SetHeight(int h) override;
    void Restore() override;
    void Finish() override;

private:
    // One frame further; false when the animation has removed itself (it must not be touched then).
    bool Advance();
    void DeleteFrames();

    std::vector<CTavObject*> m_frames;
    int m_currentFrame = 0;
    float m_frameInterval = 0.2f;
    float m_elapsed = 0;
    int m_repeatCount = 0;
    int m_playMode = 0;
};
