// The generated table behind dxcc_entities.h.
#pragma once

#include <cstddef>

#include "awards/dxcc_entities.h"

namespace vantrel {

extern const DxccEntity kDxccEntityTable[];
extern const std::size_t kDxccEntityCount;

}  // namespace vantrel
