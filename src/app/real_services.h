#pragma once
// The real outside services: the key service (uinput or XTest) and the SDL controller service.

#include <memory>

#include "windows/main_window/service_factory.h"

namespace vantrel {

std::unique_ptr<ServiceFactory> CreateRealServices();

}  // namespace vantrel
