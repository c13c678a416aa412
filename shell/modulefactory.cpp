#include "modulefactory.h"

namespace {
ModuleWindowFactory &factoryStore()
{
    static ModuleWindowFactory f;
    return f;
}
} // namespace

void setModuleWindowFactory(const ModuleWindowFactory &factory) { factoryStore() = factory; }

const ModuleWindowFactory &moduleWindowFactory() { return factoryStore(); }
