// Decides which effect class the plug-in binary hands to the host.

#include "host/Entry.h"
#include "host/ExtendedEffect.h"

#include <new>

namespace {

// Stands in until the waveshaper exists: answers every opcode with the
// defaults of the base classes and leaves the outputs untouched.
class PlaceholderEffect final : public ExtendedEffect {
  public:
    explicit PlaceholderEffect(HostCallback callback) : ExtendedEffect(callback, 16, 8) {}
    void processAdding(float**, float**, std::int32_t) override {}
};

} // namespace

EffectBase* createEffectInstance(HostCallback callback) {
    return new (std::nothrow) PlaceholderEffect(callback);
}
