#pragma once

#include <stdexcept>
#include <string>

namespace kivo::forms {

enum class ErrorKind {
    Overflow,           // a number does not fit the integer it is converted to
    TypeMismatch,       // a text is not the number or Boolean it should be
    PathNotFound,       // a folder that does not exist
    FileNotFound,       // a file that does not exist or cannot be opened
    InvalidPicture,     // a file that is not a picture the loader knows, or an absurd one
    DeviceUnavailable,  // a drive without a medium
    InvalidArgument,    // anything else the runtime refuses
};

// The runtime's one error type. Its message is Japanese and says what failed and on what, so the
// error path can show it to the user as it stands.
class RuntimeError : public std::runtime_error {
  public:
    RuntimeError(ErrorKind kind, const std::string& subject);
    RuntimeError(ErrorKind kind, const std::string& subject, const std::string& detail);

    ErrorKind kind() const { return kind_; }
    const std::string& subject() const { return subject_; }

  private:
    ErrorKind kind_;
    std::string subject_;
};

// What the user reads for each kind of error, before the subject.
std::string DescribeError(ErrorKind kind);

// Thrown by `Application::End` in backends whose end of the program must not end the process (the
// headless one): it unwinds every handler, is never caught by the resume-next policy, and is not
// a std::exception on purpose.
struct ProgramEnded {};

}  // namespace kivo::forms
