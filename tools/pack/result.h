// The packer's result type: a value, or the message that tells the user what
// was wrong with the input. Messages name the file concerned and end without a period.
#pragma once

#include <string>
#include <utility>
#include <variant>

namespace orvalis::pack {

struct Failure {
  std::string message;
};

template <typename T>
class [[nodiscard]] Result {
 public:
  Result(T value) : state_(std::in_place_index<0>, std::move(value)) {}
  Result(Failure failure) : state_(std::in_place_index<1>, std::move(failure)) {}

  [[nodiscard]] bool ok() const { return state_.index() == 0; }
  [[nodiscard]] T& value() { return std::get<0>(state_); }
  [[nodiscard]] const T& value() const { return std::get<0>(state_); }
  [[nodiscard]] const std::string& error() const { return std::get<1>(state_).message; }
  // Passes the failure on to a caller with another value type.
  [[nodiscard]] Failure failure() const { return std::get<1>(state_); }

 private:
  std::variant<T, Failure> state_;
};

// For steps that produce nothing but can fail.
using Status = Result<std::monostate>;
inline Status Ok() { return std::monostate{}; }

}  // namespace orvalis::pack
