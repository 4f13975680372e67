// The version information in the program and the About box that shows it.
#include "AboutDlg.h"
#include "AppTestSupport.h"
#include "DocTemplate.h"
#include "MainFrame.h"
#include "VersionInfo.h"

#include <elf.h>
#include <wx/toolbar.h>

#include <array>
#include <cstring>
#include <fstream>
#include <memory>

namespace
{
const char kShipped[] = "Corvane  0.82 (build 100)\nCopyright (C) Mirel Software";

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
    {
        wxString str;
        EXPECT_EQ(1, ComposeVersionText(Block(version, bTranslation, bCopyright), str));
        EXPECT_EQ(pszExpected, str);
    }
}

// A block cut anywhere before the end of its fixed information leaves the text alone; the
// reader never runs past the block's end.
TEST(VersionInfoTest, CutBlocks)
{
    const std::string strFull = Block({0, 82, 0, 100}, true, true);
    for (size_t n = 0; n <= strFull.size(); n++)
    {
        const std::unique_ptr<char[]> pCopy(new char[n]);
        std::memcpy(pCopy.get(), strFull.data(), n);
        wxString str = "kept";
        const int nResult = ComposeVersionText(std::string_view(pCopy.get(), n), str);
        EXPECT_EQ(n >= 5 + kFixedInfoSize, nResult == 1) << n;
        EXPECT_TRUE(nResult == 1 || str == "kept") << n;
    }
}

// The program's own file, and copies of it damaged where a reader could run astray.
TEST(VersionInfoTest, ReadFromTheProgramFile)
{
    wxString str;
    ASSERT_EQ(1, GetVersionText(CORVANE_EXE, str));
    EXPECT_EQ(kShipped, str);
    const std::string strExe = ReadFileText(CORVANE_EXE);
    Elf64_Ehdr eh;
    std::memcpy(&eh, strExe.data(), sizeof(eh));
    auto put = [](std::string& s, size_t nPos, auto value)
    { std::memcpy(&s[nPos], &value, sizeof(value)); };
    const size_t nNamesSize =
        eh.e_shoff + eh.e_shstrndx * sizeof(Elf64_Shdr) + offsetof(Elf64_Shdr, sh_size);
    const std::function<void(std::string&)> kDamages[] = {
        [](std::string& s) { s.clear(); },
        [](std::string& s) { s.resize(40); },
        [&](std::string& s) { s.resize(eh.e_shoff + 100); },
        [&](std::string& s) { put(s, offsetof(Elf64_Ehdr, e_shoff), ~uint64_t(0) - 10); },
        [&](std::string& s) { put(s, offsetof(Elf64_Ehdr, e_shstrndx), eh.e_shnum); },
        [&](std::string& s) { put(s, nNamesSize, uint64_t(3)); },
    };
    CTempDir dir;
    for (const auto& damage : kDamages)
    {
        std::string strCopy = strExe;
        damage(strCopy);
        std::ofstream(dir.File("copy"), std::ios::binary) << strCopy;
        str = "kept";
        EXPECT_EQ(0, GetVersionText(dir.File("copy"), str)) << &damage - kDamages;
        EXPECT_EQ("kept", str);
    }
}

namespace
{
class AboutBoxTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ResetProfile();
        m_pFrame = new CMainFrame;
        ASSERT_TRUE(m_pFrame->LoadFrame(&m_manager));
        m_pFrame->Show();
        TestApp().SetTopWindow(m_pFrame);
    }
    void TearDown() override
    {
        SetVersionFile(std::string());
        TestApp().SetTopWindow(nullptr);
        m_pFrame->Destroy();
        PumpEvents();
    }

    CSingleDocManager m_manager;
    CMainFrame* m_pFrame = nullptr;
};
} // namespace

// Help, About and the last toolbar button reach the application, which shows the box over
// the main window; without version information (this test program) it keeps its text.
TEST_F(AboutBoxTest, ShownFromMenuAndToolbar)
{
    wxToolBar* pToolBar = m_pFrame->m_wndToolBar;
    const wxToolBarToolBase* pLast = pToolBar->GetToolByPos(int(pToolBar->GetToolsCount()) - 1);
    const std::tuple<bool, const char*, const char*> kCases[] = {{false, "", "Corvane v0.1"},
                                                                 {true, CORVANE_EXE, kShipped}};
    for (const auto& [bToolbar, pszFile, pszExpected] : kCases)
    {
        SetVersionFile(pszFile);
        wxString strText, strTitle;
        wxWindow* pOwner = nullptr;
        TestApp().CallAfter(
            [&]
            {
                for (wxWindow* pWnd : wxTopLevelWindows)
                    if (auto* pDlg = dynamic_cast<CAboutDlg*>(pWnd); pDlg && pDlg->IsModal())
                    {
                        strText = pDlg->FindWindow(CAboutDlg::IDC_VERSION_TEXT)->GetLabel();
                        strTitle = pDlg->GetTitle();
                        pOwner = pDlg->GetParentForModalDialog();
                        pDlg->EndModal(wxID_OK);
                    }
            });
        if (bToolbar)
            pToolBar->OnLeftClick(pLast->GetId(), false);
        else
            m_pFrame->ProcessCommand(wxID_ABOUT);
        EXPECT_EQ(pszExpected, strText);
        EXPECT_EQ("About Corvane", strTitle);
        EXPECT_EQ(m_pFrame, pOwner);
    }
}
