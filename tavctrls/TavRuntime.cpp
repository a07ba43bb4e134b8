#include "TavRuntime.h"

#include "CTavObject.h"
#include "CTavScreen.h"
#include "TavLifetime.h"
#include "tavctrls/platform/BitmapFile.h"

#include <exception>

namespace tav {

Runtime& TheRuntime() {
    static Runtime runtime;
    return runtime;
}

void DiscardObject(CTavObject* object) {
    if (object == nullptr)
        return;
    if (TheRuntime().busy > 0) {
        TheRuntime().discardedObjects.push_back(object);
        return;
    }
    object->Finish();
    delete object;
}

void DiscardScreen(CTavScreen* screen) {
    if (screen == nullptr)
        return;
    if (TheRuntime().busy > 0) {
        TheRuntime().discardedScreens.push_back(screen);
        return;
    }
    screen->Finish();
    delete screen;
}

void FlushDiscarded() {
    Runtime& runtime = TheRuntime();
    // Finishing may discard more (a screen's parts); keep going until both lists stay empty.
    while (!runtime.discardedObjects.empty() || !runtime.discardedScreens.empty()) {
        std::vector<CTavObject*> objects;
        objects.swap(runtime.discardedObjects);
        for (CTavObject* object : objects) {
            object->Finish();
            delete object;
        }
        std::vector<CTavScreen*> screens;
        screens.swap(runtime.discardedScreens);
        for (CTavScreen* screen : screens) {
            screen->Finish();
            delete screen;
        }
    }
}

} // namespace tav

CTavApp* TavGetApp() {
    return tav::CurrentApp();
}

BOOL TavIsShuttingDown() {
    return tav::TheRuntime().quit != 0 ? TRUE : FALSE;
}

void TavPostClose() {
    tav::Runtime& runtime = tav::TheRuntime();
    if (runtime.app != nullptr && runtime.quit == 0)
        runtime.closePosted = 1;
}

void TavDeleteObject(CTavObject* object) {
    tav::DiscardObject(object);
}

void TavDeleteScreen(CTavScreen* screen) {
    tav::DiscardScreen(screen);
}

CTavDeferDelete::CTavDeferDelete() {
    ++tav::TheRuntime().busy;
}

CTavDeferDelete::~CTavDeferDelete() {
    tav::Runtime& runtime = tav::TheRuntime();
    if (runtime.busy > 0 && --runtime.busy == 0 && std::uncaught_exceptions() == 0)
        tav::FlushDiscarded();
}

std::string TavResolveResourcePath(const char* path) {
    return tav::platform::ResolveResourcePath(path != nullptr ? path : "");
}
