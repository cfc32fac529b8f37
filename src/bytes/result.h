#pragma once

#include <cassert>
#include <optional>
#include <utility>
#include <variant>

namespace clockvane {

// A value or an error, in the manner of std::expected (which our compiler's C++20 lacks).
// Errors are plain values: the core never throws across its boundary. A Result must be looked
// at: dropping one unread is how a failed write goes unnoticed, so the compiler refuses it.
template <typename T, typename E>
class [[nodiscard]] Result {
public:
    Result(T value) : state_(std::in_place_index<0>, std::move(value)) {}
    Result(E error) : state_(std::in_place_index<1>, std::move(error)) {}

    [[nodiscard]] bool ok() const { return state_.index() == 0; }
    explicit operator bool() const { return ok(); }

    T& value() &
    {
        assert(ok());
        return std::get<0>(state_);
    }
    const T& value() const&
    {
        assert(ok());
        return std::get<0>(state_);
    }
    T&& value() &&
    {
        assert(ok());
        return std::get<0>(std::move(state_));
    }
    E& error() &
    {
        assert(!ok());
        return std::get<1>(state_);
    }
    const E& error() const&
    {
        assert(!ok());
        return std::get<1>(state_);
    }
    E&& error() &&
    {
        assert(!ok());
        return std::get<1>(std::move(state_));
    }

    T* operator->() { return &value(); }
    const T* operator->() const { return &value(); }
    T& operator*() & { return value(); }
    const T& operator*() const& { return value(); }

private:
    std::variant<T, E> state_;
};

// Success that carries nothing, or an error: what a step that only does something returns.
// A default-made one is success, so such a step ends with `return {};`.
template <typename E>
class [[nodiscard]] Result<void, E> {
public:
    Result() = default;
    Result(E error) : error_(std::move(error)) {}

    [[nodiscard]] bool ok() const { return !error_.has_value(); }
    explicit operator bool() const { return ok(); }

    E& error() &
    {
        assert(!ok());
        return *error_;
    }
    const E& error() const&
    {
        assert(!ok());
        return *error_;
    }
    E&& error() &&
    {
        assert(!ok());
        return *std::move(error_);
    }

private:
    std::optional<E> error_;
};

}  // namespace clockvane
