#include "platform/copy_fault_hook.h"

#include "platform/forwarding_platform.h"

namespace platform {

CopyFaultHook* CopyFaultHookOf(Platform& platform) {
  for (Platform* p = &platform;;) {
    if (auto* hook = dynamic_cast<CopyFaultHook*>(p)) return hook;
    auto* wrapper = dynamic_cast<ForwardingPlatform*>(p);
    if (!wrapper) return nullptr;
    p = &wrapper->inner();
  }
}

}  // namespace platform
