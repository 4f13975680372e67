// The version information in the program and the About box that shows it.
#include "AboutDlg.h"
#include "AppTestSupport.h"
#include "VersionInfo.h"

#include <elf.h>

namespace
{
std::string Block(const std::array<uint32_t, 4>& v, bool bTranslation, bool bCopyright = true)
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

// Only a whole block gives a text; the build is the third and fourth parts, shown without a
// sign; the copyright and product name only with their translation.
TEST(VersionInfoTest, ComposedFromBlocks)
{
    EXPECT_EQ("Corvane  1.05\n(C) M", Text(Block({1, 5, 0, 0}, true)));
    EXPECT_EQ("Corvane  0.82 (build 65536)", Text(Block({0, 82, 1, 0}, true, false)));
    EXPECT_EQ("0.82 (build 4294901761)", Text(Block({0, 82, 65535, 1}, false)));
    const std::string strFull = Block({0, 82, 0, 100}, true);
    for (size_t n = 0; n < strFull.size(); n++)
        EXPECT_EQ(n < 5 + kFixedInfoSize, Text(strFull.substr(0, n)).empty()) << n;
}

// Help, About runs the box over the main window. Without version information (this test
// program, the program cut short or without section names) the box keeps its text.
using AboutBoxTest = CAppRunTest;
TEST_F(AboutBoxTest, HelpAboutShowsTheBox)
{
    ASSERT_TRUE(Start(""));
    CDialogCapture dialogs;
    Frame()->ProcessCommand(wxID_ABOUT);
    EXPECT_EQ((std::vector<std::pair<std::string, wxWindow*>>{{"About Corvane", Frame()}}),
              dialogs.m_seen);
    const std::string strExe = ReadFileText(CORVANE_EXE);
    m_dir.Write("cut", strExe.substr(0, 4096)); // sections out of reach
    m_dir.Write("bad",
                std::string(strExe).replace(offsetof(Elf64_Ehdr, e_shstrndx), 2, "\xff\xff"));
    for (const auto& [strFile, strText] :
         {std::pair<std::string, std::string>{"", "Corvane v0.1"},
          {m_dir.File("cut"), "Corvane v0.1"},
          {m_dir.File("bad"), "Corvane v0.1"},
          {CORVANE_EXE, "Corvane  0.82 (build 100)\nCopyright (C) Mirel Software"}})
    {
        SetVersionFile(strFile);
        CAboutDlg dlg;
        dlg.InitDialog();
        EXPECT_EQ(strText, dlg.FindWindow(CAboutDlg::IDC_VERSION_TEXT)->GetLabel().ToStdString());
    }
    SetVersionFile("");
}
