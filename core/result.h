// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <type_traits>
#include <utility>
#include <variant>

namespace tovik {

// Why an operation failed, in the words the user is shown: UTF-8 in the core, QString
// in the layers above it. `return Failed{text};` turns into any Result of that message.
template <class Message>
struct Failed {
    Message message;
};
template <class Message>
Failed(Message) -> Failed<Message>;
Failed(const char*) -> Failed<std::string>;

// What an operation that can fail answers: its value, or the message that says why it
// failed. The core and the exchange layer return their errors this way. Value() only on
// success, Error() only on failure.
template <class T, class Message = std::string>
class [[nodiscard]] Result {
public:
    Result(T value) : state(std::in_place_index<0>, std::move(value)) {}
    template <class M>
        requires std::is_constructible_v<Message, M>
    Result(Failed<M> failed) : state(std::in_place_index<1>, Message(std::move(failed.message)))
    {
    }

    explicit operator bool() const { return state.index() == 0; }
    T& Value() { return std::get<0>(state); }
    const T& Value() const { return std::get<0>(state); }
    const Message& Error() const { return std::get<1>(state); }

    friend bool operator==(const Result& result, const T& value) { return result && result.Value() == value; }

private:
    std::variant<T, Message> state;
};

// An operation that gives nothing but whether it worked.
template <class Message>
class [[nodiscard]] Result<void, Message> {
public:
    Result() = default;
    template <class M>
        requires std::is_constructible_v<Message, M>
    Result(Failed<M> failed) : message(std::move(failed.message)), failed(true)
    {
    }

    explicit operator bool() const { return !failed; }
    const Message& Error() const { return message; }

private:
    Message message{};
    bool failed = false;
};

}  // namespace tovik
