// The maker of hosts for windows that host on their own.
#include "client/hosting.h"

namespace euchre {

namespace {
Hosting::Factory& factory() {
    static Hosting::Factory instance;
    return instance;
}
} // namespace

void Hosting::setFactory(Factory f) {
    factory() = std::move(f);
}

std::unique_ptr<Hosting> Hosting::make() {
    return factory() ? factory()() : nullptr;
}

} // namespace euchre
