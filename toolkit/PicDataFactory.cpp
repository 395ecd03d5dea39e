#include "PicDataFactory.h"

#include "AlphaPicData24.h"
#include "AlphaPicData8.h"
#include "ApicResource.h"
#include "PicData24.h"
#include "PicData8.h"
#include "Sys.h"

namespace pengui {

namespace {

int pictureBytesPerPixel(std::uint32_t kind, std::uint32_t depth)
{
    if (kind > 1)
        return 0;
    if (depth == 8)
        return kind == 1 ? 2 : 1;
    return depth == 24 ? 4 : 0;
}

} // namespace

PicDataFactory& PicDataFactory::instance()
{
    static PicDataFactory factory;
    return factory;
}

std::unique_ptr<PicDataInterface> PicDataFactory::create(const char* name) const
{
    return createResource("APIC", name);
}

std::unique_ptr<PicDataInterface> PicDataFactory::createResource(const char* type, const char* name) const
{
    std::size_t size = 0;
    const unsigned char* bytes = sys::get_ressource(type, name, &size);
    return bytes ? create(bytes, size) : nullptr;
}

std::unique_ptr<PicDataInterface> PicDataFactory::create(const std::uint8_t* bytes, std::size_t size) const
{
    ApicResource resource;
    if (!resource.read(bytes, size, pictureBytesPerPixel))
        return nullptr;
    const bool alpha = resource.kind() == 1;
    if (resource.depth() == 8)
        return alpha ? std::unique_ptr<PicDataInterface>(new AlphaPicData8(resource)) : std::make_unique<PicData8>(resource);
    return alpha ? std::unique_ptr<PicDataInterface>(new AlphaPicData24(resource)) : std::make_unique<PicData24>(resource);
}

} // namespace pengui
