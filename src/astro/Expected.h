#pragma once
// A value or an error, for parsers and loaders: nothing throws across
// subsystem boundaries.
#include <string>
#include <utility>
#include <variant>

namespace qnr {

template <class E>
struct Unexpected {
    E error;
};

template <class E>
Unexpected<E> Fail(E error) { return Unexpected<E>{std::move(error)}; }
inline Unexpected<std::string> Fail(const char* error) { return Unexpected<std::string>{error}; }

template <class T, class E = std::string>
class Expected {
public:
    Expected(T value) : v_(std::in_place_index<0>, std::move(value)) {}
    template <class F>
    Expected(Unexpected<F> u) : v_(std::in_place_index<1>, E(std::move(u.error))) {}

    bool ok() const { return v_.index() == 0; }
    explicit operator bool() const { return ok(); }
    const T& value() const { return std::get<0>(v_); }
    T& value() { return std::get<0>(v_); }
    const T& operator*() const { return value(); }
    T& operator*() { return value(); }
    const T* operator->() const { return &value(); }
    const E& error() const { return std::get<1>(v_); }
    T valueOr(T fallback) const { return ok() ? value() : fallback; }

private:
    std::variant<T, E> v_;
};

}  // namespace qnr
