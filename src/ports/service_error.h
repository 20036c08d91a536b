#pragma once
// Failure of an outside service, with a number and a description in plain words.

#include <cstdint>
#include <stdexcept>
#include <string>

namespace vantrel {

class ServiceError : public std::runtime_error {
  public:
    ServiceError(int32_t number, const std::string& description)
        : std::runtime_error(description), number_(number) {}
    int32_t number() const { return number_; }
    // As the user is shown it when it ends the program: "description : number".
    std::string Shown() const { return std::string(what()) + " : " + std::to_string(number_); }

  private:
    int32_t number_;
};

// Numbers of the errors this program raises itself.
inline constexpr int32_t kErrorKeySendFailed = 1001;
inline constexpr int32_t kErrorShifterFailed = 1002;
inline constexpr int32_t kErrorControllerServiceFailed = 1010;
inline constexpr int32_t kErrorUnexpected = 1099;

}  // namespace vantrel
