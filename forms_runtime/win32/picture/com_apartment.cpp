#include "forms_runtime/win32/picture/com_apartment.h"

#include <objbase.h>

namespace kivo::forms::win32 {

ComApartment::ComApartment()
    : initialised_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED))) {}

ComApartment::~ComApartment() {
    if (initialised_) {
        CoUninitialize();
    }
}

}  // namespace kivo::forms::win32
