#pragma once
// Records and result codes shared by the controller service and the poll cycle. The shapes follow
// the classic joystick interface so that stored settings and the poll cycle's rules keep their
// meaning: axes in 0..10000 after configuration, 32 button bytes, HRESULT-style failure codes.

#include <array>
#include <cstdint>

namespace vantrel {

inline constexpr int32_t DI_OK = 0;
inline constexpr int32_t DIERR_NOTACQUIRED = static_cast<int32_t>(0x8007000CU);
inline constexpr int32_t DIERR_INPUTLOST = static_cast<int32_t>(0x8007001EU);
inline constexpr int32_t DIERR_UNSUPPORTED = static_cast<int32_t>(0x80004001U);
inline constexpr int32_t DIERR_GENERIC = static_cast<int32_t>(0x80004005U);

inline constexpr int kButtonSlots = 32;

// State record filled by a read: six axes, two sliders, four hats, 32 button bytes (0 = up).
struct DIJOYSTATE {
    int32_t x = 0;
    int32_t y = 0;
    int32_t z = 0;
    int32_t rx = 0;
    int32_t ry = 0;
    int32_t rz = 0;
    std::array<int32_t, 2> slider{};
    std::array<uint32_t, 4> POV{};
    std::array<uint8_t, kButtonSlots> buttons{};
};

// Capabilities of an open device; only the button count is used.
struct DIDEVCAPS {
    int32_t lButtons = 0;
    int32_t lAxes = 0;
};

// Addressing of a property: the whole device, or one object by its data offset.
inline constexpr int32_t DIPH_DEVICE = 0;
inline constexpr int32_t DIPH_BYOFFSET = 1;
inline constexpr int32_t DIJOFS_X = 0;
inline constexpr int32_t DIJOFS_Y = 4;

enum class DiLongProperty { DIPROP_DEADZONE, DIPROP_SATURATION };

struct DIPROPLONG {
    int32_t lHow = DIPH_DEVICE;
    int32_t lObj = 0;
    int32_t lData = 0;
};

struct DIPROPRANGE {
    int32_t lHow = DIPH_DEVICE;
    int32_t lObj = 0;
    int32_t lMin = 0;
    int32_t lMax = 0;
};

}  // namespace vantrel
