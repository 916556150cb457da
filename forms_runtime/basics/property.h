#pragma once

#include <functional>
#include <utility>

namespace kivo::forms {

// A control or form property that reads like a plain value (`Imager.Width = Width;`) and lets its
// owner react to every assignment: validate it, derive other properties, tell the backend.
// Without a setter an assignment stores the value and then runs the change hook.
template <typename T>
class Property {
  public:
    using Setter = std::function<void(const T&)>;
    using Hook = std::function<void()>;

    explicit Property(T initial = T{}) : value_(std::move(initial)) {}
    Property(const Property&) = delete;

    Property& operator=(const T& value) {
        set(value);
        return *this;
    }
    Property& operator=(const Property& other) {
        set(other.value_);
        return *this;
    }

    operator const T&() const { return value_; }
    const T& get() const { return value_; }

    void set(const T& value) {
        if (setter_) {
            setter_(value);
        } else {
            store(value);
            changed();
        }
    }

    // Stores without running any hook: for the owner's setter, and for a backend that records
    // what the user did on screen (the screen already shows it).
    void store(const T& value) { value_ = value; }
    void changed() const {
        if (hook_) {
            hook_();
        }
    }

    void on_set(Setter setter) { setter_ = std::move(setter); }
    void on_change(Hook hook) { hook_ = std::move(hook); }

  private:
    T value_;
    Setter setter_;
    Hook hook_;
};

template <typename T, typename U>
bool operator==(const Property<T>& a, const U& b) {
    return a.get() == b;
}

}  // namespace kivo::forms
