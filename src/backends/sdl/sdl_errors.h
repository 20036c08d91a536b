#pragma once
// Result codes of the SDL controller backend beyond the shared ones, with the classic joystick
// interface's values, and the number of the error raised when SDL cannot start.

#include <cstdint>

namespace vantrel {

inline constexpr int32_t DIERR_OBJECTNOTFOUND = static_cast<int32_t>(0x80070002U);
inline constexpr int32_t DIERR_INVALIDPARAM = static_cast<int32_t>(0x80070057U);

inline constexpr int32_t kErrorControllerServiceFailed = 1010;

}  // namespace vantrel
