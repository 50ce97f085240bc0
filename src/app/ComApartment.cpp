#include "app/ComApartment.h"

#include <objbase.h>

#include "win/SystemLibrary.h"

namespace {

constexpr char kComLibrary[] = "ole32.dll";

}  // namespace

ComApartment::~ComApartment() {
    using Uninitialize = void(WINAPI*)();
    if (entered_) {
        if (const auto uninitialize = SystemFunction<Uninitialize>(kComLibrary, "CoUninitialize")) {
            uninitialize();
        }
    }
}

void ComApartment::Enter() {
    if (asked_) {
        return;
    }
    asked_ = true;
    using Initialize = HRESULT(WINAPI*)(LPVOID reserved, DWORD flags);
    if (const auto initialize = SystemFunction<Initialize>(kComLibrary, "CoInitializeEx")) {
        entered_ =
            SUCCEEDED(initialize(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));
    }
}
