#include "CorvaneApp.h"
#include "UserLocale.h"
#include "VersionInfo.h"

#include <wx/module.h>
#include <wx/utils.h>

#include <cstdio>
#include <cstring>
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

// The framework's switches, GTK's options and the file; the file dialog and the desktop's
// MIME type take the same names.
const char* const kUsage =
    "Usage: corvane [OPTION...] [FILE]\n"
    "Shows FILE, an Intel HEX firmware image, one segment at a time as a hex dump.\n"
    "\n"
    "  -h, --help              show this help and exit\n"
    "      --version           show the name and version and exit\n"
    "      --verbose           log informational messages too\n"
    "      --display=DISPLAY   X display to use\n"
    "      --class=CLASS       program class as used by the window manager\n"
    "      --name=NAME         program name as used by the window manager\n"
    "      --gtk-module=MODULES  load additional GTK modules\n"
    "      --g-fatal-warnings  make all warnings fatal\n"
    "\n"
    "FILE is read as Intel HEX whatever its name (usually *.hex, *.ihx, *.ihex or *.h86).\n";

// The About box's text, with one blank between name and number as a terminal shows it.
void PrintVersion()
{
    wxString strText = "Corvane v0.1";
    GetVersionText(strText);
    strText.Replace("  ", " ");
    std::puts(strText.utf8_str());
}

// --help and --version answer scripts and bug reports without a display, so GTK never
// starts for them; -1 when neither is asked for.
int AnswerInfoOption(int argc, char** argv)
{
    for (int i = 1; i < argc && std::strcmp(argv[i], "--") != 0; i++)
    {
        if (std::strcmp(argv[i], "--version") == 0)
            PrintVersion();
        else if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0)
            std::fputs(kUsage, stdout);
        else
            continue;
        return std::fflush(stdout) == 0 ? 0 : 1;
    }
    return -1;
}
} // namespace

// The command line names files: its arguments are read as file names are (UTF-8 unless
// the environment says otherwise), not in the locale's character set.
int main(int argc, char** argv)
{
    if (const int nStatus = AnswerInfoOption(argc, argv); nStatus >= 0)
        return nStatus;
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
