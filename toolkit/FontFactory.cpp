#include "FontFactory.h"

#include "ApicResource.h"
#include "MulticolorFont.h"
#include "Sys.h"
#include "UnicolorFont.h"

namespace pengui {

namespace {

int fontBytesPerPixel(std::uint32_t kind, std::uint32_t depth)
{
    if (kind == 2 && depth == 0)
        return 1;
    return kind == 1 && depth == 8 ? 2 : 0;
}

} // namespace

FontFactory& FontFactory::instance()
{
    static FontFactory factory;
    return factory;
}

std::unique_ptr<FontInterface> FontFactory::create(const char* name) const
{
    return createResource("APIC", name);
}

std::unique_ptr<FontInterface> FontFactory::createResource(const char* type, const char* name) const
{
    std::size_t size = 0;
    const unsigned char* bytes = sys::get_ressource(type, name, &size);
    return bytes ? create(bytes, size) : nullptr;
}

std::unique_ptr<FontInterface> FontFactory::create(const std::uint8_t* bytes, std::size_t size) const
{
    ApicResource resource;
    if (!resource.read(bytes, size, fontBytesPerPixel))
        return nullptr;
    if (resource.kind() == 2)
        return std::make_unique<UnicolorFont>(resource);
    return std::make_unique<MulticolorFont>(resource);
}

} // namespace pengui
