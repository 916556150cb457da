#pragma once

#include <cstddef>
#include <vector>

#include "forms_runtime/basics/random.h"

namespace kivo::testing {

// Hands out the given draws in order, then repeats the last one.
class ScriptedRandom : public forms::RandomSource {
  public:
    explicit ScriptedRandom(std::vector<float> draws) : draws_(std::move(draws)) {}
    void Seed(std::uint32_t) override {}
    float Next() override { return draws_[next_ < draws_.size() ? next_++ : draws_.size() - 1]; }

  private:
    std::vector<float> draws_;
    std::size_t next_ = 0;
};

}  // namespace kivo::testing
