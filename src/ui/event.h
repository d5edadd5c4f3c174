// An event of a control: one handler, bound by the form that owns the control.
#pragma once

#include <functional>
#include <utility>

namespace ui {

template <typename... Args>
class Event {
 public:
  using Handler = std::function<void(Args...)>;

  void Bind(Handler handler) { handler_ = std::move(handler); }

  // Binds a member function of the form, as a form description binds a handler by name.
  template <typename Owner>
  void Bind(Owner* owner, void (Owner::*method)(Args...)) {
    handler_ = [owner, method](Args... args) { (owner->*method)(args...); };
  }

  void Unbind() { handler_ = nullptr; }

  bool Bound() const { return static_cast<bool>(handler_); }

  void Raise(Args... args) const {
    if (handler_) handler_(args...);
  }

 private:
  Handler handler_;
};

}  // namespace ui
