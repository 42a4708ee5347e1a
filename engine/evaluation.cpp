#include "engine/evaluation.h"

namespace vek::engine {

int evaluate(const Position&) { return 0; }

}  // namespace vek::engine
