#pragma once

// A bound method: an object together with one of its member functions, held
// in an event or handler slot and called with that object. It is an object
// pointer and a plain function pointer (a trampoline the compiler writes for
// each bound member), so a call through a slot costs one indirect call.
template <typename Signature> class TBoundMethod;

template <typename Result, typename... Args> class TBoundMethod<Result(Args...)> {
public:
  TBoundMethod() = default;

  template <auto Method, typename Object> static TBoundMethod Bind(Object* object) {
    TBoundMethod bound;
    bound.Object = object;
    bound.Call = [](void* self, Args... args) -> Result {
      return (static_cast<Object*>(self)->*Method)(args...);
    };
    return bound;
  }

  Result operator()(Args... args) const { return Call(Object, args...); }
  explicit operator bool() const { return Call != nullptr; }

  friend bool operator==(const TBoundMethod& a, const TBoundMethod& b) {
    return a.Object == b.Object && a.Call == b.Call;
  }

private:
  void* Object = nullptr;
  Result (*Call)(void*, Args...) = nullptr;
};
