#pragma once
// Event handlers: comparable method delegates. A delegate holds an object and one of its
// member functions (the platform's method pointer: data + code), or a plain function. Two
// delegates are equal when they call the same method on the same object, so "is the handler
// still mine?" checks work. Delegates never own the object; nothing is allocated.
#include <cstddef>
#include <cstring>
#include <type_traits>
#include <utility>

#include "platform/system/Exceptions.h"

class TObject;

template <class Sig>
class TDelegate;

template <class R, class... Args>
class TDelegate<R(Args...)> {
  using TFunction = R (*)(Args...);

 public:
  constexpr TDelegate() noexcept = default;
  constexpr TDelegate(std::nullptr_t) noexcept {}

  // Obj->*Method. Obj may point to a class derived from the method's class; it is stored as
  // a pointer to the method's class, so binding through any base or derived pointer of the
  // same object gives equal delegates.
  template <class C, class M>
  TDelegate(C* Obj, R (M::*Method)(Args...)) noexcept {
    Bind<M, R (M::*)(Args...)>(static_cast<M*>(Obj), Method, &CallMember<M, R (M::*)(Args...)>);
  }
  template <class C, class M>
  TDelegate(const C* Obj, R (M::*Method)(Args...) const) noexcept {
    Bind<M, R (M::*)(Args...) const>(const_cast<M*>(static_cast<const M*>(Obj)), Method,
                                     &CallMember<M, R (M::*)(Args...) const>);
  }

  // A plain function or a lambda without captures (tests and glue code).
  template <class F>
  requires(std::is_convertible_v<F, TFunction> && !std::is_same_v<std::remove_cvref_t<F>, std::nullptr_t> &&
           !std::is_same_v<std::remove_cvref_t<F>, TDelegate>) TDelegate(F Fn)
  noexcept {
    const TFunction Function = Fn;
    if (Function == nullptr) return;
    Bind<void, TFunction>(nullptr, Function, &CallFunction);
  }

  void Clear() noexcept { *this = TDelegate(); }
  explicit operator bool() const noexcept { return FInvoke != nullptr; }
  // The bound object (the method pointer's data), nullptr for a plain function.
  void* GetObject() const noexcept { return FObject; }

  // The call works on a copy: the handler may rebind or clear this very delegate (or free
  // the object holding it) while it runs.
  R operator()(Args... A) const {
    const TDelegate Self = *this;
    if (Self.FInvoke == nullptr) throw EInvalidOperation("Call of an unassigned event handler");
    return Self.FInvoke(Self, std::forward<Args>(A)...);
  }

  friend bool operator==(const TDelegate& L, const TDelegate& R2) noexcept {
    return L.FInvoke == R2.FInvoke && L.FObject == R2.FObject &&
           std::memcmp(L.FMethod, R2.FMethod, sizeof(L.FMethod)) == 0;
  }

 private:
  using TInvoke = R (*)(const TDelegate&, Args...);

  template <class M, class P>
  void Bind(M* Obj, P Method, TInvoke Invoke) noexcept {
    static_assert(sizeof(P) <= sizeof(FMethod), "member pointer does not fit the delegate");
    static_assert(std::is_trivially_copyable_v<P>);
    FObject = static_cast<void*>(Obj);
    std::memcpy(FMethod, &Method, sizeof(P));
    FInvoke = Invoke;
  }

  template <class M, class P>
  static R CallMember(const TDelegate& D, Args... A) {
    P Method;
    std::memcpy(&Method, D.FMethod, sizeof(P));
    return (static_cast<M*>(D.FObject)->*Method)(std::forward<Args>(A)...);
  }
  static R CallFunction(const TDelegate& D, Args... A) {
    TFunction Function;
    std::memcpy(&Function, D.FMethod, sizeof(TFunction));
    return Function(std::forward<Args>(A)...);
  }

  void* FObject = nullptr;
  // The member pointer's bytes; unused bytes stay zero so equality can compare all of them.
  alignas(void*) unsigned char FMethod[2 * sizeof(void*)] = {};
  TInvoke FInvoke = nullptr;
};

template <class C, class M, class R, class... Args>
TDelegate(C*, R (M::*)(Args...)) -> TDelegate<R(Args...)>;
template <class C, class M, class R, class... Args>
TDelegate(const C*, R (M::*)(Args...) const) -> TDelegate<R(Args...)>;

template <class C, class M, class R, class... Args>
TDelegate<R(Args...)> MakeDelegate(C* Obj, R (M::*Method)(Args...)) noexcept {
  return TDelegate<R(Args...)>(Obj, Method);
}
template <class C, class M, class R, class... Args>
TDelegate<R(Args...)> MakeDelegate(const C* Obj, R (M::*Method)(Args...) const) noexcept {
  return TDelegate<R(Args...)>(Obj, Method);
}

using TNotifyEvent = TDelegate<void(TObject* Sender)>;
