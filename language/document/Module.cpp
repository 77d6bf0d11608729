#include "document/Tarvin.h"

#include "pe/PeResource.h"
#include "tree/Errors.h"

namespace trvx {

bool TTarvin::LoadFromModule(const std::string& fileName) {
    std::optional<TPeModule> module = TPeModule::Load(fileName);
    if (!module)
        return false;
    LoadFromResource(*module);
    return true;
}

void TTarvin::LoadFromResource(const TPeModule& module) {
    std::optional<TByteBuffer> bytes =
        ReadNamedResource(module, kLanguageResource, kLanguageResource);
    if (!bytes)
        throw EResNotFound(kLanguageResource);
    LoadFromBuffer(std::move(*bytes));
}

} // namespace trvx
