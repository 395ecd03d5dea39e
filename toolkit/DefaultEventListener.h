#pragma once

#include "EventListenerInterface.h"

namespace pengui {

// A listener that takes every change unchanged and ignores every event: the base that listeners
// override only where they care.
class DefaultEventListener : public EventListenerInterface {
public:
    void begin_edit() override {}
    void end_edit() override {}
    bool may_change(int) override { return true; }
    void released(int) override {}
    void settled() override {}
    double store_value(double value, int) override { return value; }
    double user_value(double value, int) override { return value; }
    double set_value_hook(double value, int) override { return value; }
    void action(int, int) override {}
    void before_message(MessageInterface&) override {}
    void after_message(MessageInterface&) override {}
    void attach(ControlInterface* control) override { control_ = control; }
    ControlInterface* control() const override { return control_; }

private:
    ControlInterface* control_ = nullptr;
};

} // namespace pengui
