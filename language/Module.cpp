#include "language/Tarvin.h"

namespace trvx {

// Placeholder until the host-module reader lands: nothing is a module yet.
bool TTarvin::LoadFromModule(const std::string&) {
    return false;
}

} // namespace trvx
