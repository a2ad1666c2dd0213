#include "PirokStrategy.h"

#include "QOVATabControlView.h"

void PirokStrategy::validateInput(QOVATabControlView *menu)
{
    if (menu)
        menu->setupPirokLayout();
}
