#pragma once
// The controller the user last chose, kept in the settings file's section `controller` so that it
// is picked again by itself: at the next start, or when it is plugged in (again).

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "ports/controller_service.h"
#include "settings/ini_file.h"

namespace vantrel {

inline constexpr const char* kControllerSection = "controller";

// What outlasts one attachment of a controller: its name, its SDL GUID (the model) and its
// device node, which tells two identical pads apart ("" when it has none).
struct RememberedController {
    std::string name;
    std::string guid;
    std::string path;
};

RememberedController RememberedFrom(const AttachedController& controller);

// Nothing when the section names no controller.
std::optional<RememberedController> ReadRememberedController(const std::filesystem::path& file);
// Writes the three keys of the section; every other line of the file stays as it is.
IniWriteResult WriteRememberedController(const std::filesystem::path& file,
                                         const RememberedController& controller);

// The position of the attached controller to pick for `wanted`: among those with its name and
// GUID the one at its device node, else the first; nothing when none matches.
std::optional<size_t> FindRememberedController(const std::vector<AttachedController>& attached,
                                               const RememberedController& wanted);

}  // namespace vantrel
