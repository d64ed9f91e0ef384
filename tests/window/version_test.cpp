#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

namespace {

std::wstring Value(const std::vector<char>& block, const wchar_t* name) {
  const std::wstring path = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
  void* value = nullptr;
  UINT length = 0;
  if (!VerQueryValueW(block.data(), path.c_str(), &value, &length) || length == 0) {
    return L"(none)";
  }
  return static_cast<const wchar_t*>(value);
}

// Read back from the program as built, beside which the tests run.
TEST(VersionRecord, NamesQuorvelVersion100) {
  const wchar_t exe[] = L"Quorvel.exe";
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(exe, &ignored);
  ASSERT_GT(size, 0u);
  std::vector<char> block(size);
  ASSERT_TRUE(GetFileVersionInfoW(exe, 0, size, block.data()));

  EXPECT_EQ(Value(block, L"FileVersion"), L"1.00");
  EXPECT_EQ(Value(block, L"ProductVersion"), L"1.00");
  EXPECT_EQ(Value(block, L"InternalName"), L"Quorvel");
  EXPECT_EQ(Value(block, L"OriginalFilename"), L"Quorvel.exe");

  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
  EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
  EXPECT_EQ(fixed->dwProductVersionMS, 0x00010000u);
  EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
}

}  // namespace
