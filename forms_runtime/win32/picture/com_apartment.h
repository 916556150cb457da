#pragma once

namespace kivo::forms::win32 {

// Keeps COM initialised on the user-interface thread while it lives.
class ComApartment {
  public:
    ComApartment();
    ~ComApartment();
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

  private:
    bool initialised_ = false;
};

}  // namespace kivo::forms::win32
