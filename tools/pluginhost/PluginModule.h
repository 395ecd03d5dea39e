#pragma once

#include "Vst2Abi.h"

#include <string>

// A plug-in module loaded the way a host loads it, and its entry points.
class PluginModule {
public:
    using Entry = AEffect*(VST2_CALL*)(audioMasterCallback);

    explicit PluginModule(const std::string& path);
    ~PluginModule();
    PluginModule(const PluginModule&) = delete;
    PluginModule& operator=(const PluginModule&) = delete;

    bool loaded() const { return handle_ != nullptr; }
    const std::string& error() const { return error_; }
    // The exported entry `name`, or null.
    Entry entry(const char* name) const;

private:
    void* handle_ = nullptr;
    std::string error_;
};
