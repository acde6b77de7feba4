// A non-owning reference to a callable, cheap to pass across a synchronous cross-thread call: the
// callable must outlive the call it is passed to.
#pragma once

#include <type_traits>
#include <utility>

namespace tk {

template <typename Signature>
class FunctionRef;

template <typename R, typename... Args>
class FunctionRef<R(Args...)> {
 public:
  template <typename F, typename = std::enable_if_t<!std::is_same_v<std::decay_t<F>, FunctionRef>>>
  FunctionRef(F&& f)  // NOLINT: implicit on purpose, like a function pointer
      : object_(const_cast<void*>(static_cast<const void*>(&f))),
        call_([](void* object, Args... args) -> R {
          return (*static_cast<std::remove_reference_t<F>*>(object))(std::forward<Args>(args)...);
        }) {}

  R operator()(Args... args) const { return call_(object_, std::forward<Args>(args)...); }

 private:
  void* object_;
  R (*call_)(void*, Args...);
};

}  // namespace tk
