#include "cutter/plans.h"

namespace cutter {

bool runProgramDiskPlan() { return true; }

bool runDataDiskPlan() { return true; }

}  // namespace cutter
