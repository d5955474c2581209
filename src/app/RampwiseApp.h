#pragma once

#include "framework/WinApp.h"

class CRampwiseApp : public CWinApp {
public:
    CRampwiseApp() = default;
    ~CRampwiseApp() override = default;

    bool RunStartup() override;
};
