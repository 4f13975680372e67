// What every test program may need: fresh folders, whole-file reads and writes, the
// fixtures folder, and work done in a child process.
#pragma once

#include <functional>
#include <ostream>
#include <string>
#include <vector>

// A fresh folder, removed with its contents at the end of the scope.
class CTempDir
{
public:
    CTempDir();
    ~CTempDir();
    CTempDir(const CTempDir&) = delete;
    CTempDir& operator=(const CTempDir&) = delete;
    const std::string& Path() const { return m_strPath; }
    std::string File(const std::string& strName) const { return m_strPath + "/" + strName; }
    void Write(const std::string& strName, const std::string& strText) const;
    // names in the folder or in one of its subfolders, sorted

private:
    std::string m_strPath;
};

std::string ReadFileText(const std::string& strPath);
// nCount bytes nFirst, nFirst + nStep, ... (mod 256), to tell bytes apart in dumps and on
// screen; with nStep 37 neighbours' digits all differ.
std::vector<unsigned char> Sequence(int nCount, int nFirst = 0, int nStep = 1);
std::string DataFile(const std::string& strName);

// A row of a table in tests/data, named by its first cell in test names and failures.
struct CRow : std::vector<std::string>
{
    friend void PrintTo(const CRow& row, std::ostream* pOut) { *pOut << row.at(0); }
};
struct CRowName
{
    template <class I> std::string operator()(const I& info) const { return info.param.at(0); }
};
// The rows of a table in tests/data, each cut at "|" into trimmed cells; "#" lines are comments.
std::vector<CRow> ReadTable(const std::string& strName);

// Runs fn in a child process, as the unprivileged user nobody when bAsNobody and the tests
// run as root. Gives fn's result, 100 when the child could not become nobody, -1 when it
// was killed.
int RunInChild(const std::function<int()>& fn, bool bAsNobody);

// A parameterised test's case with its name, which test names and listings show.
template <class T> struct CCase
{
    const char* m_pszName;
    T m_value;
    friend void PrintTo(const CCase& c, std::ostream* pOut) { *pOut << c.m_pszName; }
};
struct CCaseName
{
    template <class I> std::string operator()(const I& info) const { return info.param.m_pszName; }
};
