#include "UserLocale.h"

#include <wx/uilocale.h>

#include <clocale>
#include <cstring>
#include <langinfo.h>

void UseUserLocale(bool bFrameworkStarted)
{
    if (bFrameworkStarted)
        wxUILocale::UseDefault();
    else
        std::setlocale(LC_ALL, "");
    // no locale in the environment means plain ASCII, which no non-ASCII file name survives
    if (std::strcmp(nl_langinfo(CODESET), "ANSI_X3.4-1968") == 0)
        std::setlocale(LC_CTYPE, "C.UTF-8");
    std::setlocale(LC_NUMERIC, "C");
}
