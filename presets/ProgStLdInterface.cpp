#include "ProgStLdInterface.h"

#include "BankManager.h"
#include "DspInterface.h"
#include "HostGuiInterface.h"
#include "PresetStoreInterface.h"
#include "ProgramSlot.h"

namespace mppi {

void ProgStLdInterface::store(int index, const ProgramSlot& slot)
{
    if (presets_)
        presets_->store(index, slot);
}

void ProgStLdInterface::fetch(int index, ProgramSlot& out) const
{
    if (presets_)
        presets_->presets().copyOut(index, out);
}

void ProgStLdInterface::capture(ProgramSlot& slot) const
{
    if (!source_)
        return;
    slot.setName(source_->programName());
    source_->storeProgram(slot);
}

void ProgStLdInterface::applyBlend(const ProgramSlot& from, const ProgramSlot& to, double x)
{
    ProgramSlot blend;
    blend.setName(to.name());
    interpolate(blend, from, to, x);
    if (applier_)
        applier_->applyProgram(blend, kGlidePriority);
}

std::vector<int> ProgStLdInterface::movedBy(const ProgramSlot& from, const ProgramSlot& to)
{
    ProgramSlot end;
    interpolate(end, from, to, 1.0);
    std::vector<int> moved;
    for (int index = 0; index < end.valueCount(); ++index)
        if (index >= from.valueCount() || end.value(index) != from.value(index))
            moved.push_back(index);
    return moved;
}

void ProgStLdInterface::beginEdits(const std::vector<int>& indices)
{
    if (applier_)
        for (int index : indices)
            applier_->beginEdit(index);
}

void ProgStLdInterface::endEdits(const std::vector<int>& indices)
{
    if (applier_)
        for (int index : indices)
            applier_->endEdit(index);
}

void ProgStLdDefault::interpolate(ProgramSlot& output, const ProgramSlot& from, const ProgramSlot& to, double x)
{
    const int count = to.valueCount();
    output.setValueCount(count);
    const float blend = static_cast<float>(x);
    for (int index = 0; index < count; ++index)
        output.setValue(index, from.value(index) + blend * (to.value(index) - from.value(index)));
    output.setDataSize(to.dataSize());
    for (int byte = 0; byte < to.dataSize(); ++byte)
        output.data()[byte] = to.data()[byte];
}

} // namespace mppi
