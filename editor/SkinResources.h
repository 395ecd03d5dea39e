#pragma once

#include "FontInterface.h"
#include "PicDataInterface.h"
#include "Picture.h"

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace skin_layout {
struct SkinLayout;
}

namespace mppi {

// A skin's pictures and fonts, built from the module's resources in the layout's order, each
// picture with its hot spot and found by name. Editor thread only.
class SkinResources {
public:
    // Loads every picture, then every font, at the skin's scale; stops at the first that cannot be built and answers
    // -1 with what failed in `missing`, else 0.
    int load(const skin_layout::SkinLayout& skin);
    const std::string& missing() const { return missing_; }

    // The picture of that name with its hot spot, or null.
    const pengui::Picture* picture(std::string_view name) const;
    // Font `index` of the skin's font list, or null.
    const pengui::FontInterface* font(int index) const;
    // A rectangle of a picture as a picture of its own, kept as long as the resources.
    pengui::Picture cut(const pengui::Picture& sheet, const pengui::Rect& cell);

private:
    std::vector<std::unique_ptr<pengui::PicDataInterface>> data_;
    std::map<std::string, pengui::Picture, std::less<>> pictures_;
    std::vector<std::unique_ptr<pengui::FontInterface>> fonts_;
    std::string missing_;
};

} // namespace mppi
