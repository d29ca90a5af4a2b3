#include "engine/engine_requests.h"

namespace {

EngineRequests silentRequests;
EngineRequests* installedReceiver = &silentRequests;

}  // namespace

void installEngineRequests(EngineRequests* receiver) {
  installedReceiver = receiver ? receiver : &silentRequests;
}

EngineRequests& engineRequests() { return *installedReceiver; }
