// The program's one application object.

#include "app/RampwiseApp.h"

CRampwiseApp theApp;
