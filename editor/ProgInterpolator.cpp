#include "ProgInterpolator.h"

#include "ListenerBase.h"
#include "NormalizedParamInterface.h"
#include "ParamIndexes.h"
#include "ProgramSlot.h"
#include "QuenloGui.h"

namespace mppi {

void ProgInterpolator::interpolate(ProgramSlot& output, const ProgramSlot& from, const ProgramSlot& to, double x)
{
    const int count = to.valueCount();
    output.setValueCount(count);
    output.setValue(kFlagsIndex, to.value(kFlagsIndex));
    const MetaControl* tempo = gui().metaControl(kTempoIndex);
    const NormalizedParamInterface* tempoParam = tempo && tempo->listener() ? tempo->listener()->param() : nullptr;
    output.setValue(kTempoIndex, tempoParam ? tempoParam->normalized() : to.value(kTempoIndex));
    const float blend = static_cast<float>(x);
    for (int index = kTempoIndex + 1; index < count; ++index)
        output.setValue(index, from.value(index) + blend * (to.value(index) - from.value(index)));
    output.setDataSize(to.dataSize());
    std::copy(to.data(), to.data() + to.dataSize(), output.data());
}

} // namespace mppi
