// Stands in for the real services while this build has no key or controller backend.
#include "services/service_error.h"
#include "shell/real_services.h"

namespace vantrel {
namespace {

class UnavailableServices : public ServiceFactory {
  public:
    std::unique_ptr<KeySender> CreateKeyService(std::string& failure) override {
        failure =
            "Vantrel cannot send keys: this build of Vantrel has no key backend. Build it with "
            "the key and controller services.";
        return nullptr;
    }
    std::unique_ptr<ControllerService> CreateControllerService() override {
        throw ServiceError(kErrorUnexpected, "This build of Vantrel cannot read controllers.");
    }
    std::unique_ptr<QObject> StartNotifications(ControllerService&) override { return nullptr; }
};

}  // namespace

std::unique_ptr<ServiceFactory> CreateRealServices() {
    return std::make_unique<UnavailableServices>();
}

}  // namespace vantrel
