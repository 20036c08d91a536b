// The real services: the key service with its release on termination signals, the SDL controller
// service and its pump on the Qt event loop.
#include "app/real_services.h"

#include <cstdlib>

#include "app/key_service_factory.h"
#include "backends/sdl/controller_pump.h"
#include "backends/sdl/sdl_controller_service.h"
#include "backends/uinput/uinput_keyboard.h"
#include "backends/uinput/uinput_shifter.h"
#include "ports/service_error.h"
#include "windows/main_window/key_delivery_note.h"

namespace vantrel {
namespace {

class RealServices : public ServiceFactory {
  public:
    std::unique_ptr<KeyOutput> CreateKeyService(std::string& failure) override {
        std::unique_ptr<KeyService> keys = vantrel::CreateKeyService(failure);
        if (keys) {
            ReleaseKeysOnTerminationSignals(*keys);
            const char* chosen = std::getenv("VANTREL_KEY_BACKEND");
            note_ = vantrel::KeyDeliveryNote(keys->BackendName(), chosen && *chosen,
                                             UinputRuleInstalled());
        }
        return keys;
    }

    std::unique_ptr<ControllerService> CreateControllerService() override {
        auto service = std::make_unique<SdlControllerService>();
        sdl_ = service.get();
        return service;
    }

    std::unique_ptr<QObject> StartNotifications(ControllerService& service) override {
        if (&service != sdl_) return nullptr;  // only the service made here has a pump
        auto pump = std::make_unique<ControllerPump>(*sdl_);
        pump->start();
        return pump;
    }

    std::string KeyDeliveryNote() const override { return note_; }

    std::unique_ptr<ShifterOutput> CreateShifter(std::string& failure) override {
        try {
            std::unique_ptr<UinputShifter> shifter = UinputShifter::Open(kUinputPath);
            ReleaseOutputsOnTerminationSignals();
            return shifter;
        } catch (const ServiceError& e) {
            failure = e.what();
            return nullptr;
        }
    }

  private:
    SdlControllerService* sdl_ = nullptr;
    std::string note_;
};

}  // namespace

std::unique_ptr<ServiceFactory> CreateRealServices() { return std::make_unique<RealServices>(); }

}  // namespace vantrel
