#pragma once

#include <cstdint>

namespace kivo::forms {

// Single-precision random numbers in [0, 1).
class RandomSource {
  public:
    virtual ~RandomSource() = default;
    virtual void Seed(std::uint32_t seed) = 0;
    virtual float Next() = 0;
};

// A 24-bit linear congruential generator: every value is a multiple of 2^-24, so it is exact in
// single precision and strictly below 1.
class LinearCongruentialRandom : public RandomSource {
  public:
    void Seed(std::uint32_t seed) override { state_ = seed & 0xFFFFFF; }
    float Next() override {
        state_ = (state_ * 0x43FD43FDu + 0xC39EC3u) & 0xFFFFFF;
        return static_cast<float>(state_) / 16777216.0f;
    }

  private:
    std::uint32_t state_ = 0x50000;
};

}  // namespace kivo::forms
