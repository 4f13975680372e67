#include "CorvaneApp.h"
#include "UserLocale.h"

#include <vector>

wxIMPLEMENT_APP_NO_MAIN(CCorvaneApp);

// The command line names files: its arguments are read as file names are (UTF-8 unless
// the environment says otherwise), not in the locale's character set.
int main(int argc, char** argv)
{
    UseUserLocale(false);
    std::vector<wxWCharBuffer> args;
    std::vector<wxChar*> argvWide;
    for (int i = 0; i < argc; i++)
        args.push_back(wxConvFileName->cMB2WC(argv[i]));
    for (wxWCharBuffer& arg : args)
        argvWide.push_back(arg.data());
    argvWide.push_back(nullptr);
    return wxEntry(argc, argvWide.data());
}
