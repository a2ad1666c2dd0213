#include "VaskoStrategy.h"

#include "QOVATabControlView.h"

void VaskoStrategy::validateInput(QOVATabControlView *menu)
{
    if (menu)
        menu->setupVaskoLayout();
}
