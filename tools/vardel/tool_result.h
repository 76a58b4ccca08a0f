// Failures of the tool as values. Every step that can fail returns a Result
// (a value or a Failure) or a Status (nothing or a Failure); a command turns
// the first failure into one message on standard error and its exit code.
// Exit codes: 0 success, 1 a failure (not found, refused, corrupt or missing
// catalogue, unusable store folder), 2 a usage error.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <variant>

namespace VardelTool {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

struct Failure {
    int exitCode = kExitFailure;
    /// One line, UTF-8, without the "vardel: " prefix.
    std::string message;
};

/// Something was missing, refused or damaged.
inline Failure Refused(std::string message) {
    return {kExitFailure, std::move(message)};
}

/// The command line asked for something malformed.
inline Failure UsageError(std::string message) {
    return {kExitUsage, std::move(message)};
}

/// Nothing on success.
using Status = std::optional<Failure>;

template <class T>
class [[nodiscard]] Result {
  public:
    Result(T value) : state_(std::move(value)) {}
    Result(Failure failure) : state_(std::move(failure)) {}

    bool ok() const { return state_.index() == 0; }
    T& value() { return std::get<0>(state_); }
    const T& value() const { return std::get<0>(state_); }
    const Failure& failure() const { return std::get<1>(state_); }

  private:
    std::variant<T, Failure> state_;
};

/// `text` in double quotes, for messages.
inline std::string Quoted(const std::string& text) {
    return "\"" + text + "\"";
}

}  // namespace VardelTool
