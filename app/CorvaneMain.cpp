#include "CorvaneApp.h"
#include "UserLocale.h"

#include <wx/module.h>
#include <wx/utils.h>

#include <vector>

wxIMPLEMENT_APP_NO_MAIN(CCorvaneApp);

namespace
{
// GDK loads the OpenGL driver as it opens the display only to choose its visuals, a fifth
// of the start-up time with a software renderer, and this program draws nothing with
// OpenGL. A setting of the user's own is kept.
bool g_bGlHeldBack = false;

// Programs started from here (the browser) get the environment back as it was, once GDK
// has read it.
class CGlSettingModule : public wxModule
{
public:
    bool OnInit() override
    {
        if (g_bGlHeldBack)
            wxUnsetEnv("GDK_GL");
        return true;
    }
    void OnExit() override {}

private:
    wxDECLARE_DYNAMIC_CLASS(CGlSettingModule);
};
wxIMPLEMENT_DYNAMIC_CLASS(CGlSettingModule, wxModule);
} // namespace

// The command line names files: its arguments are read as file names are (UTF-8 unless
// the environment says otherwise), not in the locale's character set.
int main(int argc, char** argv)
{
    UseUserLocale(false);
    if (!wxGetEnv("GDK_GL", nullptr))
        g_bGlHeldBack = wxSetEnv("GDK_GL", "disable");
    std::vector<wxWCharBuffer> args;
    std::vector<wxChar*> argvWide;
    for (int i = 0; i < argc; i++)
        args.push_back(wxConvFileName->cMB2WC(argv[i]));
    for (wxWCharBuffer& arg : args)
        argvWide.push_back(arg.data());
    argvWide.push_back(nullptr);
    return wxEntry(argc, argvWide.data());
}
