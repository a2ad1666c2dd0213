#include "QOVAManualUpdateWindow.h"

QOVAManualUpdateWindow::QOVAManualUpdateWindow()
    : QOVAWindow(480, 320)
{
}
