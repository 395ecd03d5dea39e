#include "ParamTable.h"

#include "params/AlgoParams.h"
#include "params/DelayLineParams.h"
#include "params/StageParams.h"
#include "params/TapUnitParams.h"

namespace param_table {

namespace {

template <class Param, class... Args>
std::shared_ptr<mppi::NormalizedParamInterface> global(const Row& row, Args&... args)
{
    auto param = std::make_shared<Param>(args...);
    param->init(row.defaultValue, row.automationLevel);
    return param;
}

template <class Param, class... Args>
std::shared_ptr<mppi::NormalizedParamInterface> numbered(const Row& row, int unitNumber, Args&... args)
{
    auto param = std::make_shared<Param>(args...);
    param->init(row.defaultValue, row.automationLevel, unitNumber);
    return param;
}

} // namespace

std::shared_ptr<mppi::NormalizedParamInterface> create(const Row& row, int unitNumber, mppi::TempoContext& tempo)
{
    switch (row.kind) {
    case Kind::kFlags: return global<ParamFlags>(row, tempo);
    case Kind::kTempo: return global<ParamTempo>(row, tempo);
    case Kind::kDryLvl: return global<ParamDryLvl>(row);
    case Kind::kFdbkSeparation: return global<ParamFdbkSeparation>(row);
    case Kind::kTapTime: return numbered<ParamTapTime>(row, unitNumber, tempo);
    case Kind::kTapLvl: return numbered<ParamTapLvl>(row, unitNumber);
    case Kind::kTapPan: return numbered<ParamTapPan>(row, unitNumber);
    case Kind::kDlyLvl: return numbered<ParamDlyLvl>(row, unitNumber);
    case Kind::kDlyPan: return numbered<ParamDlyPan>(row, unitNumber);
    case Kind::kDlyTime: return numbered<ParamDlyTime>(row, unitNumber, tempo);
    case Kind::kDlyFdbk: return numbered<ParamDlyFdbk>(row, unitNumber);
    case Kind::kFiltType: return numbered<ParamDlyFiltType>(row, unitNumber);
    case Kind::kFiltCutoff: return numbered<ParamDlyFiltCutoff>(row, unitNumber);
    case Kind::kFiltReso: return numbered<ParamDlyFiltReso>(row, unitNumber);
    case Kind::kFiltQ: return numbered<ParamDlyFiltQ>(row, unitNumber);
    case Kind::kDistType: return numbered<ParamDlyDistType>(row, unitNumber);
    case Kind::kDistLvl: return numbered<ParamDlyDistLvl>(row, unitNumber);
    case Kind::kHsCutoff: return numbered<ParamDlyHsCutoff>(row, unitNumber);
    case Kind::kHsLvl: return numbered<ParamDlyHsLvl>(row, unitNumber);
    }
    return nullptr;
}

} // namespace param_table
