// The version information in the program and the About box that shows it.
#include "AboutDlg.h"
#include "AppTestSupport.h"
#include "DocTemplate.h"
#include "MainFrame.h"
#include "VersionInfo.h"

#include <elf.h>
#include <wx/modalhook.h>

#include <array>

namespace
{
const std::string kShipped = "Corvane  0.82 (build 100)\nCopyright (C) Mirel Software";

std::string Block(const std::array<uint32_t, 4>& v, bool bTranslation, bool bCopyright)
{
    const std::string strTable = "\\StringFileInfo\\040904b0\\";
    std::string str;
    AppendVersionEntry(str, "\\", MakeFixedFileInfo(v[0], v[1], v[2], v[3]));
    AppendVersionEntry(str, strTable + "ProductName", std::string("Corvane \0", 9));
    if (bCopyright)
        AppendVersionEntry(str, strTable + "LegalCopyright", std::string("(C) M\0", 6));
    if (bTranslation)
        AppendVersionEntry(str, "\\VarFileInfo\\Translation", MakeTranslation(0x0409, 0x04b0));
    return str;
}

// The text composed from a block; "" when there is none and the text was left alone.
std::string Text(const std::string& strBlock)
{
    wxString str = "kept";
    return ComposeVersionText(strBlock, str) ? str.ToStdString() : str == "kept" ? "" : "changed";
}
} // namespace

TEST(VersionInfoTest, ComposedFromBlocks)
{
    const std::tuple<std::array<uint32_t, 4>, bool, bool, const char*> kCases[] = {
        {{1, 5, 0, 0}, true, true, "Corvane  1.05\n(C) M"},
        {{0, 82, 1, 0}, true, true, "Corvane  0.82 (build 65536)\n(C) M"},
        {{0, 82, 0, 100}, true, false, "Corvane  0.82 (build 100)"},
        {{0, 82, 0, 100}, false, true, "0.82 (build 100)"},
        {{0, 82, 65535, 1}, false, true, "0.82 (build 4294901761)"}, // shown without a sign
    };
    for (const auto& [version, bTranslation, bCopyright, pszExpected] : kCases)
        EXPECT_EQ(pszExpected, Text(Block(version, bTranslation, bCopyright)));
    // cut before the end of its fixed information a block gives no text
    const std::string strFull = Block({0, 82, 0, 100}, true, true);
    for (size_t n = 0; n < strFull.size(); n++)
        EXPECT_EQ(n < 5 + kFixedInfoSize, Text(strFull.substr(0, n)).empty()) << n;
}

// Runs no dialog; notes each one's title and whether it stands over the main window.
class CModalSeen : public wxModalDialogHook
{
public:
    CModalSeen() { Register(); }
    std::string m_strSeen;

protected:
    int Enter(wxDialog* pDlg) override
    {
        const bool bOverMain = pDlg->GetParentForModalDialog() == wxTheApp->GetTopWindow();
        m_strSeen += pDlg->GetTitle() + (bOverMain ? " over the main window" : "");
        return wxID_OK;
    }
    void Exit(wxDialog*) override {}
};

// Help, About reaches the application, which runs the box over the main window. Without
// version information (this test program, the program cut short or without section names)
// the box keeps its text.
TEST(AboutBoxTest, HelpAboutShowsTheBox)
{
    CSingleDocManager manager;
    auto* pFrame = new CMainFrame;
    ASSERT_TRUE(pFrame->LoadFrame(&manager));
    pFrame->Show();
    TestApp().SetTopWindow(pFrame);
    CModalSeen seen;
    pFrame->ProcessCommand(wxID_ABOUT);
    EXPECT_EQ("About Corvane over the main window", seen.m_strSeen);
    CTempDir dir;
    const std::string strExe = ReadFileText(CORVANE_EXE);
    dir.Write("cut", strExe.substr(0, 4096)); // sections out of reach
    dir.Write("bad", std::string(strExe).replace(offsetof(Elf64_Ehdr, e_shstrndx), 2, "\xff\xff"));
    for (const auto& [strFile, strText] : {std::pair<std::string, std::string>{"", "Corvane v0.1"},
                                           {dir.File("cut"), "Corvane v0.1"},
                                           {dir.File("bad"), "Corvane v0.1"}, // names' section
                                           {CORVANE_EXE, kShipped}})
    {
        SetVersionFile(strFile);
        CAboutDlg dlg;
        dlg.InitDialog();
        EXPECT_EQ(strText, dlg.FindWindow(CAboutDlg::IDC_VERSION_TEXT)->GetLabel().ToStdString());
    }
    SetVersionFile("");
    TestApp().SetTopWindow(nullptr);
    pFrame->Destroy();
    PumpEvents();
}
