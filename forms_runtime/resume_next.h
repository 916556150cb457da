#pragma once

#include <exception>
#include <string>
#include <vector>

namespace kivo::forms {

// Runs each step of a sequence under a resume-next policy: a step that fails with a runtime error
// is skipped and the next one runs. The end of the program is never absorbed.
class ResumeNext {
  public:
    template <typename Step>
    ResumeNext& operator()(Step&& step) {
        try {
            step();
        } catch (const std::exception& error) {
            failures_.emplace_back(error.what());
        }
        return *this;
    }
    const std::vector<std::string>& failures() const { return failures_; }

  private:
    std::vector<std::string> failures_;
};

}  // namespace kivo::forms
