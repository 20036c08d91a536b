#include "output/key_service.h"

#include "output/key_names.h"

#include <string>

#include "output/live_key_services.h"
#include "ports/service_error.h"

namespace vantrel {

KeyService::KeyService(std::unique_ptr<KeyBackend> backend) : backend_(std::move(backend)) {
    held_.reserve(AllKeyNames().size());
    live_key_services::Add(this);
}

KeyService::~KeyService() {
    // Leave the registry first so no shutdown path reaches a half-destroyed service.
    live_key_services::Remove(this);
    ReleaseAll();
}

bool KeyService::HeldLocked(uint16_t evdevCode) const {
    for (const KeyName* k : held_) {
        if (k->evdevCode == evdevCode) return true;
    }
    return false;
}

void KeyService::Send(const AssignedKey& assigned, KeyAction action) {
    if (assigned.key == nullptr) return;
    const KeyName& key = *assigned.key;
    const bool down = action == KeyAction::Down;

    std::lock_guard guard(lock_);
    if (closed_) return;
    const bool held = HeldLocked(key.evdevCode);
    if (down == held) return;  // no real change: nothing for the operating system

    try {
        if (down) {
            backend_->Press(key);
            held_.push_back(&key);
        } else {
            backend_->Release(key);
            std::erase_if(held_, [&](const KeyName* k) { return k->evdevCode == key.evdevCode; });
        }
    } catch (const ServiceError& e) {
        // A failed release keeps the key in the set so a later release or ReleaseAll tries again.
        throw ServiceError(e.number(), std::string(down ? "Vantrel could not press the key "
                                                        : "Vantrel could not let go of the key ") +
                                           std::string(key.name) + ": " + e.what());
    }
}

void KeyService::ReleaseAllLocked() noexcept {
    std::vector<const KeyName*>::iterator kept = held_.begin();
    for (const KeyName* key : held_) {
        try {
            backend_->Release(*key);
        } catch (...) {
            *kept++ = key;  // still down as far as we know; the next attempt tries again
        }
    }
    held_.erase(kept, held_.end());
}

void KeyService::ReleaseAll() noexcept {
    std::lock_guard guard(lock_);
    ReleaseAllLocked();
}

void KeyService::ReleaseAllForShutdown(std::chrono::milliseconds wait) noexcept {
    // Entered from inside our own Send (for example std::exit called from within the backend):
    // the backend is mid-call and must not be re-entered.
    const std::unique_lock guard(lock_, wait);
    if (!guard.owns_lock()) return;
    ReleaseAllLocked();
    backend_->WaitUntilDelivered();
    // A key that could not be let go of is left to the backend's own last resort.
    if (held_.empty()) backend_->OnCleanShutdown();
    closed_ = true;
}

bool KeyService::IsHeld(std::string_view name) const {
    const KeyName* key = FindKeyName(name);
    if (key == nullptr) return false;
    std::lock_guard guard(lock_);
    return HeldLocked(key->evdevCode);
}

size_t KeyService::HeldCount() const {
    std::lock_guard guard(lock_);
    return held_.size();
}

}  // namespace vantrel
