#include "controller/remembered_controller.h"

#include <string_view>

namespace vantrel {

RememberedController RememberedFrom(const AttachedController& controller) {
    return {std::string(TrimBlanks(controller.name)), controller.modelGuid, controller.nodePath};
}

std::optional<RememberedController> ReadRememberedController(const std::filesystem::path& file) {
    const IniReadResult read = ReadIniFile(file);
    const auto value = [&](const char* key) {
        return read.document.Get(kControllerSection, key).value_or("");
    };
    RememberedController remembered{value("name"), value("guid"), value("path")};
    if (remembered.name.empty() && remembered.guid.empty()) return std::nullopt;
    return remembered;
}

IniWriteResult WriteRememberedController(const std::filesystem::path& file,
                                         const RememberedController& controller) {
    return IniWriteAll(
        file, kControllerSection,
        {{"name", controller.name}, {"guid", controller.guid}, {"path", controller.path}});
}

std::optional<size_t> FindRememberedController(const std::vector<AttachedController>& attached,
                                               const RememberedController& wanted) {
    std::optional<size_t> first;
    for (size_t i = 0; i < attached.size(); ++i) {
        const AttachedController& candidate = attached[i];
        // A part left empty in the file (written by hand) does not have to match.
        if (!wanted.name.empty() && TrimBlanks(candidate.name) != wanted.name) continue;
        if (!wanted.guid.empty() && candidate.modelGuid != wanted.guid) continue;
        if (!wanted.path.empty() && candidate.nodePath == wanted.path) return i;
        if (!first) first = i;
    }
    return first;
}

}  // namespace vantrel
