#include "ShelfStage.h"

#include "CutoffLimit.h"
#include "ParamTable.h"

namespace {

using param_table::kShelfRows;

// At or above this level the cut is inaudible.
constexpr float kBypassLevel = 0.99f;

} // namespace

void ShelfStage::init(int lineNumber, mppi::PluginInternal& registry)
{
    mppi::TempoContext& tempo = registry.tempoContext();
    cutoff_ = param_table::create(kShelfRows[param_table::kHsCutoffRow], lineNumber, tempo);
    level_ = param_table::create(kShelfRows[param_table::kHsLvlRow], lineNumber, tempo);
    registry.addParam(cutoff_);
    registry.addParam(level_);
    cutoff_->setListener(this);
    level_->setListener(this);
    filter_.setCutoff(static_cast<float>(cutoff_->real()));
    filter_.setLevel(static_cast<float>(level_->real()));
    filter_.computeCoefficients();
}

void ShelfStage::setDefaults()
{
    cutoff_->setReal(kShelfRows[param_table::kHsCutoffRow].defaultValue);
    level_->setReal(kShelfRows[param_table::kHsLvlRow].defaultValue);
    reset();
}

void ShelfStage::reset()
{
    apply();
    filter_.reset();
}

void ShelfStage::setSampleRate(float sampleRate)
{
    filter_.setSampleRate(sampleRate);
    filter_.setCutoff(limitedCutoff(filter_.cutoff(), sampleRate));
    filter_.computeCoefficients();
}

void ShelfStage::updateBlock()
{
    if (mppi::takeFlag(dirty_))
        apply();
}

void ShelfStage::apply()
{
    filter_.setCutoff(limitedCutoff(static_cast<float>(cutoff_->real()), filter_.sampleRate()));
    filter_.setLevel(static_cast<float>(level_->real()));
    filter_.computeCoefficients();
}

bool ShelfStage::audible() const
{
    return filter_.level() < kBypassLevel;
}

void ShelfStage::process(float* block, int frames)
{
    if (audible())
        filter_.process(block, frames);
}

void ShelfStage::processBoth(ShelfStage& first, float* firstBlock, ShelfStage& second, float* secondBlock, int frames)
{
    if (first.audible() && second.audible()) {
        mppi::FirstOrderShelf::processBoth(first.filter_, firstBlock, second.filter_, secondBlock, frames);
    } else {
        first.process(firstBlock, frames);
        second.process(secondBlock, frames);
    }
}

void ShelfStage::notify(mppi::NotifierInterface*)
{
    dirty_.store(true, std::memory_order_release);
}
