#include "HeadlessApp.h"

#include <memory>

namespace tav::testing {

void HeadlessAppTest::SetUp() {
    auto headless = std::make_unique<platform::HeadlessDisplay>();
    headless->SetCloseWhenInputEnds(false); // tests step frames themselves
    display = headless.get();
    platform::SetNextDisplay(std::move(headless));
    previousEnd = platform::SetProcessEndHandler([](int status) { throw ProcessEnded{status}; });
}

void HeadlessAppTest::TearDown() {
    platform::SetNextDisplay(nullptr);
    platform::SetProcessEndHandler(previousEnd);
}

DWORD HeadlessAppTest::Init(CTavApp& app, int width, int height) {
    return app.doInit(nullptr, SW_SHOWNORMAL, "Test", TAVAPP_WINDOW, width, height, 0, 0, 32);
}

int HeadlessAppTest::Run(CTavApp& app) {
    try {
        app.MyWinMain();
    } catch (const ProcessEnded& ended) {
        display = nullptr;
        return ended.status;
    }
}

void HeadlessAppTest::Frame(CTavApp& app, int count) {
    for (int i = 0; i < count; ++i) {
        app.PumpMessages();
        app.RunFrameOrWait();
    }
}

std::string ArtPath(const std::string& name) { return std::string(TAV_SOURCE_DIR) + "/art/" + name; }

std::uint32_t PixelAt(CTavSurface* surface, int x, int y) { return surface->GetDDSurface()->At(x, y); }

} // namespace tav::testing
