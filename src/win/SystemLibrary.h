#pragma once

#include <windows.h>

// A library of the system folder, loaded by its full path: looked for by its name, it would be
// found beside the program or in the current folder first, where others may have put their own.
// Libraries loaded when first needed cost start-up nothing. Nothing when it cannot be loaded.
HMODULE LoadSystemLibrary(const char* name);

// A function of a system library; nothing when the library or the function is not there.
template <typename Function>
Function SystemFunction(const char* library, const char* name) {
    const HMODULE module = LoadSystemLibrary(library);
    if (module == nullptr) {
        return nullptr;
    }
    // GetProcAddress answers a generic function pointer that the caller knows the type of.
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}
