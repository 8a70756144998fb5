#include "designer/document/TranslatorFactory.h"

#include "hostaccess/api/Translator.h"

#include <utility>

namespace {

ServerTranslatorFactory& Factory()
{
    static ServerTranslatorFactory factory;
    return factory;
}

} // namespace

ServerTranslatorFactory SetServerTranslatorFactory(ServerTranslatorFactory factory)
{
    ServerTranslatorFactory previous = std::move(Factory());
    Factory() = std::move(factory);
    return previous;
}

ITranslator* CreateModelTranslator(int mode)
{
    const ServerTranslatorFactory& factory = Factory();
    if (!factory)
        return nullptr;
    return factory(mode);
}
