#include "support/keystate.h"

namespace {
std::function<bool(int)>& provider() {
    static std::function<bool(int)> p;
    return p;
}
}  // namespace

bool IsKeyDown(int virtualKey) {
    const auto& p = provider();
    return p ? p(virtualKey) : false;
}

void SetKeyStateProvider(std::function<bool(int)> newProvider) { provider() = std::move(newProvider); }
