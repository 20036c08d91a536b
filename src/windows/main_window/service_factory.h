#pragma once
// The outside services of one run, created by the start-up in its order. main() uses the real
// backends; tests may pass the real ones or fakes.

#include <QObject>
#include <memory>
#include <string>

#include "ports/controller_service.h"
#include "ports/key_output.h"
#include "ports/shifter_output.h"

namespace vantrel {

class ServiceFactory {
  public:
    virtual ~ServiceFactory() = default;

    // The key service, or nullptr with `failure` set to a message for the user when no way of
    // sending keys works here.
    virtual std::unique_ptr<KeyOutput> CreateKeyService(std::string& failure) = 0;
    // The controller service; throws ServiceError when it cannot start.
    virtual std::unique_ptr<ControllerService> CreateControllerService() = 0;
    // Starts delivering `service`'s notifications from the Qt event loop; they stop when the
    // returned object is destroyed. `service` outlives it.
    virtual std::unique_ptr<QObject> StartNotifications(ControllerService& service) = 0;
    // A note for the user about how keys reach other programs, once the key service exists;
    // empty when there is nothing to say.
    virtual std::string KeyDeliveryNote() const { return {}; }
    // The virtual shifter, released on every way out of the process; or nullptr with `failure`
    // set to what went wrong, in plain words.
    virtual std::unique_ptr<ShifterOutput> CreateShifter(std::string& failure) {
        failure = "this build of Vantrel has no virtual shifter";
        return nullptr;
    }
};

}  // namespace vantrel
