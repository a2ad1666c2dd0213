#pragma once
// The request handler a simulated Orbrin device installs.

#include "sim/catalogue/SimCatalogueRequestHandler.h"

namespace sim {

class SimOrbrinRequestHandler : public SimCatalogueRequestHandler {
public:
    SimOrbrinRequestHandler() : SimCatalogueRequestHandler(Family::Orbrin) {}
};

} // namespace sim
