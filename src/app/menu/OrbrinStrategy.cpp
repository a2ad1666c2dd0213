#include "OrbrinStrategy.h"

#include "QOVATabControlView.h"

void OrbrinStrategy::validateInput(QOVATabControlView *menu)
{
    if (menu)
        menu->setupOrbrniLayout();
}
