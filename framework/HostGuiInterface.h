#pragma once

#include <string>

namespace mppi {

class ProgramSlot;

// The host as the editor sees it. Every change the user makes goes through here, so that the
// host is told and the priority arbitration applies. The editor's thread calls every operation;
// the parameter operations are lock-free and may run while audio is processed.
class HostGuiInterface {
public:
    virtual ~HostGuiInterface() = default;

    virtual void init() = 0;
    // A capability by key ("can_resize_window"); 0 means no or no answer.
    virtual double query(const std::string& key) = 0;
    // Whether a change of `index` with `priority` would be accepted now; records nothing.
    virtual bool testPriority(int index, int priority) = 0;
    // Gives up a priority taken on `index`, so that lower priorities apply again at once.
    virtual void releasePriority(int index, int priority) = 0;
    // A user's gesture on `index` begins or ends: the host records automation between the two.
    // Gestures on one parameter may overlap (a preset glide and a drag): the host hears the
    // first begin and the last end; an end without its begin is ignored.
    virtual void beginEdit(int index) = 0;
    virtual void endEdit(int index) = 0;
    // Ends every gesture still open (the editor closes).
    virtual void endAllEdits() = 0;
    // Sets a parameter to a normalized value; answers whether the change was accepted. An
    // accepted change is reported to the host inside the gesture open on the parameter, or as
    // a gesture of its own when none is.
    virtual bool setParameter(int index, float normalized, int priority) = 0;
    // Applies every value of a program with `priority`, without releasing it; the host hears
    // the values that changed on parameters with an open gesture. Takes the adapter's program
    // lock, which the audio thread never takes.
    virtual void applyProgram(const ProgramSlot& program, int priority) = 0;
    // Resizes the editor; answers 0, or -1 when the host refused.
    virtual int resizeEditor(int width, int height) = 0;
};

} // namespace mppi
