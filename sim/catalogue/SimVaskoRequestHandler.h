#pragma once
// The request handler a simulated Vasko device installs.

#include "sim/catalogue/SimCatalogueRequestHandler.h"

namespace sim {

class SimVaskoRequestHandler : public SimCatalogueRequestHandler {
public:
    SimVaskoRequestHandler() : SimCatalogueRequestHandler(Family::Vasko) {}
};

} // namespace sim
