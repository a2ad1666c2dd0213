#pragma once
// STAND-IN until the firmware page lands: the window that flashes a local
// firmware file. While one is open the application ignores device removals.
// The real window replaces this file and its source as a whole.

#include "QOVAWindow.h"

class QOVAManualUpdateWindow : public QOVAWindow {
    Q_OBJECT
public:
    QOVAManualUpdateWindow();
};
