#pragma once

#include "LockFreeAtomics.h"
#include "NotifierInterface.h"

#include <atomic>
#include <string>

namespace mppi {

class NotifiedInterface;

// A host-visible parameter with two views of one value: the normalized value in [0, 1] that
// crosses every interface and the real value in the parameter's own unit that the signal
// processing reads. Concrete classes supply the conversions, texts and the parser.
//
// Values are written by one thread (host automation, editor, audio thread for the host tempo)
// and read by the audio thread without a lock, so both are relaxed atomics.
class NormalizedParamInterface : public NotifierInterface {
public:
    ~NormalizedParamInterface() override = default;

    // Sets the default real value (normalized recomputed) and the automation level. No hook,
    // no notification: this happens while the blocks are being built.
    virtual void init(double defaultReal, int automationLevel);

    // Full parameter name, as the host shows it. The texts below allocate: never on the audio
    // thread.
    virtual std::string name() const = 0;
    // Unit label, as the host shows it next to the value text.
    virtual std::string unitLabel() const = 0;
    // Runs after every change of the value, before the listener is notified.
    virtual void valueChanged() {}
    // Conversions between the two views. Out-of-range input is the class's to handle.
    virtual double toReal(float normalized) const = 0;
    virtual float toNormalized(double real) const = 0;
    // Text of a real value, already cut to the class's width.
    virtual std::string valueText(double real) const = 0;
    // Reads a typed text. On success answers the real value and sets `understood`; on
    // failure leaves `understood` untouched and the answer is meaningless.
    virtual double parse(const std::string& text, bool& understood) const = 0;

    // Change from a normalized value: store both views, run the hook, notify the listener.
    // Any thread; lock-free and without allocation, as the hooks and listeners are.
    void setNormalized(float normalized);
    // Change from a real value: store both views, run the hook, notify the listener.
    void setReal(double real);

    float normalized() const { return normalized_.load(std::memory_order_relaxed); }
    double real() const { return real_.load(std::memory_order_relaxed); }
    std::string text() const { return valueText(real()); }
    int automationLevel() const { return automationLevel_; }

    void setListener(NotifiedInterface* listener) { listener_ = listener; }
    NotifiedInterface* listener() const { return listener_; }

private:
    void changed();

    NotifiedInterface* listener_ = nullptr;
    std::atomic<double> real_{0.0};
    std::atomic<float> normalized_{0.0f};
    int automationLevel_ = -1;
};

} // namespace mppi
