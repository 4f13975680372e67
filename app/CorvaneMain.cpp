#include "CorvaneApp.h"

wxIMPLEMENT_APP(CCorvaneApp);
