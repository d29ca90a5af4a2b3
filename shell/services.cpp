#include "shell/services.h"

#include <cassert>

namespace {
Services* installed = nullptr;
}

void installServices(Services* services) { installed = services; }

Services& services() {
  assert(installed && "services are installed at start-up");
  return *installed;
}
