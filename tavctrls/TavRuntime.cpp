#include "TavRuntime.h"

#include "CTavObject.h"
#include "CTavScreen.h"

#include <exception>

namespace tav {

Runtime& TheRuntime() {
    static Runtime runtime;
    return runtime;
}

BusyScope::BusyScope() { ++TheRuntime().busy; }

BusyScope::~BusyScope() {
    Runtime& runtime = TheRuntime();
    if (runtime.busy > 0 && --runtime.busy == 0 && std::uncaught_exceptions() == 0)
        FlushDiscarded();
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
