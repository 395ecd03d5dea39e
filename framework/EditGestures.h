#pragma once

#include <map>
#include <vector>

namespace mppi {

// The user's gestures open on each parameter, counted: a preset glide and a drag may hold one
// parameter at once, but the host must hear one begin and one end. Editor thread only; it
// allocates.
class EditGestures {
public:
    // Answers whether this is the parameter's first open gesture (the host hears the begin).
    bool begin(int index);
    // Answers whether this closed the parameter's last gesture (the host hears the end); an end
    // without a begin answers false.
    bool end(int index);
    bool open(int index) const { return counts_.count(index) != 0; }
    // Forgets every gesture; answers the parameters that had one.
    std::vector<int> endAll();

private:
    std::map<int, int> counts_;
};

} // namespace mppi
