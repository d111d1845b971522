#include "platform/ddeml.h"
#include "platform/simulated_ddeml.h"

namespace platform {

namespace {

// No driver can reach a native process: the simulation has no client, so a wait ends by its
// time-out.
SimulatedDdeml& Simulation() {
    static SimulatedDdeml simulation;
    return simulation;
}

} // namespace

Ddeml& SystemDdeml() {
    return Simulation();
}

MessageQueue& SystemMessageQueue() {
    return Simulation();
}

} // namespace platform
