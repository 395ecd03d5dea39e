#pragma once

namespace pengui {
class WindowInterface;
}

namespace mppi {

class DspInterface;
class HostGuiInterface;

// The editor as the host adapter sees it. Unless an operation says otherwise, the editor's
// thread (the host's user-interface thread) calls it, and it may allocate.
class GuiInterface {
public:
    struct Size {
        int width = 0;
        int height = 0;
    };

    virtual ~GuiInterface() = default;

    // Initialises the host services and loads pictures and fonts; throws "Load resources".
    virtual void init1() = 0;
    // Builds the control tree once; a second call does nothing. Throws "Build GUI".
    virtual void init2() = 0;
    virtual void shutdown() = 0;

    virtual HostGuiInterface* hostGui() = 0;
    // The editor owns the services from then on.
    virtual void setHostGui(HostGuiInterface* host) = 0;
    virtual DspInterface* dsp() = 0;
    // Not owned; sizes the editor's per-parameter table from the parameter count.
    virtual void setDsp(DspInterface* dsp) = 0;
    // The toolkit window the editor draws into; the editor owns it.
    virtual void setWindow(pengui::WindowInterface* window) = 0;
    virtual pengui::WindowInterface* window() = 0;

    // The size the host gives the editor's window. A closed editor first takes the latest
    // scale it was given (setHostScale, the musician's choice, the system's), rebuilt at it.
    virtual Size size() = 0;
    // The size to report when the host can resize windows; takes the latest scale as size does.
    virtual Size resizableSize() = 0;
    // Opens inside the host's parent window; answers 0 on success. The system's scale for that
    // window counts from then on: the editor takes a new scale there when the host agrees to
    // the new size.
    virtual int open(void* parentWindow) = 0;
    virtual void close() = 0;
    // A parameter changed; answers whether the editor has an entry for it. Any thread: the
    // change is recorded and shown later on the editor's thread. Never blocks or allocates.
    virtual bool paramChanged(int index, float normalized, int priority) = 0;
    // The host tempo changed: the tempo control follows the parameter. Any thread, as above.
    virtual void hostTempoChanged(float beatsPerMinute) = 0;
    // The host announced the content scale of its windows: a factor, ignored when not finite or
    // not above 0. An open editor takes it at once if the host agrees to the new size (else at
    // its next opening); a closed one at the next size() or open().
    virtual void setHostScale(double factor) = 0;
    // The host's idle call, on the editor's thread: shows the recorded changes.
    virtual void idle() = 0;
};

} // namespace mppi
