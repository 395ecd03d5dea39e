#include "SkinResources.h"

#include "FontFactory.h"
#include "PicDataCut.h"
#include "PicDataFactory.h"
#include "SkinLayout.h"
#include "SkinPlacement.h"

namespace mppi {

int SkinResources::load(const skin_layout::SkinLayout& skin)
{
    const char* type = skin_layout::resource_type(skin.scale);
    for (const skin_layout::PictureEntry& entry : skin.pictures) {
        const std::string name(entry.name);
        std::unique_ptr<pengui::PicDataInterface> data = pengui::PicDataFactory::instance().createResource(type, name.c_str());
        if (!data) {
            missing_ = name;
            return -1;
        }
        pengui::Picture picture;
        picture.set_picture(data.get());
        picture.set_hot_spot(entry.hotSpot);
        data_.push_back(std::move(data));
        pictures_[name] = picture;
    }
    for (std::string_view fontName : skin.fonts) {
        const std::string name(fontName);
        std::unique_ptr<pengui::FontInterface> font = pengui::FontFactory::instance().createResource(type, name.c_str());
        if (!font) {
            missing_ = name;
            return -1;
        }
        fonts_.push_back(std::move(font));
    }
    return 0;
}

const pengui::Picture* SkinResources::picture(std::string_view name) const
{
    const auto found = pictures_.find(name);
    return found == pictures_.end() ? nullptr : &found->second;
}

const pengui::FontInterface* SkinResources::font(int index) const
{
    return index >= 0 && index < static_cast<int>(fonts_.size()) ? fonts_[static_cast<std::size_t>(index)].get() : nullptr;
}

pengui::Picture SkinResources::cut(const pengui::Picture& sheet, const pengui::Rect& cell)
{
    pengui::Picture piece;
    if (!sheet.data())
        return piece;
    data_.push_back(std::make_unique<pengui::PicDataCut>(*sheet.data(), cell));
    piece.set_picture(data_.back().get());
    return piece;
}

} // namespace mppi
