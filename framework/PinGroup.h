#pragma once

#include <string>
#include <vector>

namespace mppi {

// A named group of audio channels, such as the stereo "Input".
class PinGroup {
public:
    PinGroup(std::string name, std::vector<std::string> channelNames)
        : name_(std::move(name)), channelNames_(std::move(channelNames))
    {
    }

    const std::string& name() const { return name_; }
    int channelCount() const { return static_cast<int>(channelNames_.size()); }
    // The name of channel `channel`, empty for a channel outside the group.
    std::string channelName(int channel) const
    {
        return channel >= 0 && channel < channelCount() ? channelNames_[static_cast<std::size_t>(channel)] : std::string();
    }

private:
    std::string name_;
    std::vector<std::string> channelNames_;
};

} // namespace mppi
