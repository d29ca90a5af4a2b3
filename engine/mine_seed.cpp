#include "engine/mine_seed.h"

uint32_t mineSeed(int64_t seconds) {
  const int32_t asSigned = static_cast<int32_t>(static_cast<uint32_t>(seconds));
  return static_cast<uint32_t>(asSigned % 31683);
}
