#pragma once

#include "Effect.h"
#include "FakeHost.h"
#include "ParamByName.h"
#include "PluginModule.h"

#include <gtest/gtest.h>

#include <memory>

// The Linux plug-in module loaded through its entry point, with a fake host.
class PluginFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(module_.loaded()) << module_.error();
        entry_ = module_.entry("VSTPluginMain");
        ASSERT_NE(entry_, nullptr);
    }

    void TearDown() override
    {
        if (effect_)
            effect_->close();
    }

    // A new instance, started at 44.1 kHz.
    Effect& open()
    {
        AEffect* created = entry_(FakeHost::callback);
        if (!created)
            throw std::runtime_error("the plug-in answered null");
        effect_ = std::make_unique<Effect>(created);
        effect_->start();
        return *effect_;
    }

    VstInt32 indexOf(const std::string& name)
    {
        const VstInt32 index = param_index_by_name(effect_->get(), name);
        if (index < 0)
            throw std::runtime_error("no parameter " + name);
        return index;
    }

    FakeHost host_;
    PluginModule module_{ZORVANE_PLUGIN_PATH};
    PluginModule::Entry entry_ = nullptr;
    std::unique_ptr<Effect> effect_;
};
