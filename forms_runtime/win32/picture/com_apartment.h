#pragma once

namespace kivo::forms::win32 {

// Keeps the calling thread in COM's multithreaded apartment while it lives, for the imaging
// component's decoders. The window's thread never joins one: a single-threaded apartment costs
// Wine up to a second to set up, and the program uses no COM that needs it.
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
