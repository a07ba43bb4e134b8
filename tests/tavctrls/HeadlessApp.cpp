#include "HeadlessApp.h"

#include <map>
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

void HeadlessAppTest::Queue(const std::string& action, int x, int y) {
    if (action == "key")
        return display->KeyDown(static_cast<unsigned>(x));
    using Display = platform::HeadlessDisplay;
    static const std::map<std::string, void (Display::*)(int, int)> inputs = {
        {"click", &Display::LClick},   {"double", &Display::DoubleClick}, {"right", &Display::RClick},
        {"move", &Display::MouseMove}, {"down", &Display::LButtonDown},   {"up", &Display::LButtonUp}};
    (display->*inputs.at(action))(x, y);
}

} // namespace tav::testing
