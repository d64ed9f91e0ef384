#pragma once

#include <windows.h>

namespace quorvel {

// The DLLs that the program and the system DLLs it uses load by name on Windows 7 to 11:
// visual styles, the desktop compositor and the drawing they bring in, the random numbers and
// the cryptographic provider, the version record, accessibility, input methods and text
// services, and what the shell and COM bring in around them. Some are "known DLLs" on some
// versions (imm32, msctf, setupapi, clbcatq), which Windows takes from System32 anyway; they
// stand here because the list is what a planted copy could be loaded as somewhere, and Wine
// has no known DLLs. A Windows 7 that cannot restrict the DLL search loads them all from
// System32 at start; the planted-DLL test plants a stub under each of these names.
inline constexpr const wchar_t* kLoadedByName[] = {
    L"uxtheme.dll",  L"dwmapi.dll",  L"msimg32.dll", L"cryptbase.dll", L"cryptsp.dll",
    L"bcrypt.dll",   L"version.dll", L"oleacc.dll",  L"msctf.dll",     L"imm32.dll",
    L"userenv.dll",  L"profapi.dll", L"sspicli.dll", L"apphelp.dll",   L"propsys.dll",
    L"setupapi.dll", L"clbcatq.dll", L"ntmarta.dll",
};

// Wine's own DLLs resolve their delayed imports by the search the process started with, whatever
// the program set since: comctl32 takes the visual styles on the log box's first scroll, and
// they take their drawing DLL. Both are loaded from System32 before that.
inline constexpr const wchar_t* kLoadedLateByWine[] = {L"uxtheme.dll", L"msimg32.dll"};

}  // namespace quorvel
