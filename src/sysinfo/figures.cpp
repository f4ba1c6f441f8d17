#include "sysinfo/figures.h"

#include <algorithm>
#include <optional>

#include "common/text.h"
#include "sysinfo/registry_value.h"
#include "sysinfo/system_info.h"

namespace tv::sysinfo {
namespace {

bool ShownOnTaskbar(const platform::TopLevelWindow& w, platform::WindowHandle shellWindow) {
  if (!w.visible || w.cloaked || w.titleLength <= 0) return false;
  if (w.handle == shellWindow) return false;
  if ((w.exStyle & platform::kWsExAppWindow) != 0) return true;
  return w.owner == platform::kNoWindow && (w.exStyle & platform::kWsExToolWindow) == 0;
}

std::wstring TaskbarWindowCount(platform::WindowList& windows) {
  const std::optional<std::vector<platform::TopLevelWindow>> all = windows.EnumWindows();
  if (!all) return {};
  return std::to_wstring(CountTaskbarWindows(*all, windows.GetShellWindow()));
}

bool SameName(std::wstring_view a, std::wstring_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](wchar_t x, wchar_t y) { return LowerChar(x) == LowerChar(y); });
}

}  // namespace

std::wstring ShowProgramCount(const platform::SystemOs& os) {
  std::wstring count = ReadRegistryValue(os.registry, os.codePage, std::wstring(kProgramCountPath));
  if (count.empty()) count = TaskbarWindowCount(os.windows);
  return count;
}

int CountTaskbarWindows(const std::vector<platform::TopLevelWindow>& windows,
                        platform::WindowHandle shellWindow) {
  return static_cast<int>(std::count_if(
      windows.begin(), windows.end(),
      [shellWindow](const platform::TopLevelWindow& w) { return ShownOnTaskbar(w, shellWindow); }));
}

MemoryTexts ShowMemory(const platform::SystemOs& os) {
  const platform::MemoryStatus memory = os.figures.GlobalMemoryStatusEx();
  std::wstring separator = os.codePage.FromAnsi(os.figures.DecimalSeparator());
  if (separator.empty()) separator = L".";
  return {FormatGigabytes(memory.totalPhys, separator),
          FormatGigabytes(memory.availPhys, separator)};
}

std::wstring FormatGigabytes(std::uint64_t bytes, std::wstring_view decimalSeparator) {
  // Hundredths of the tool's gigabyte, rounded in whole numbers: a quotient exactly on a half is
  // decided on its exact value, which binary floating point would not always see.
  constexpr std::uint64_t kBytesPerHundredth = 1'024'000'000 / 100;
  std::uint64_t hundredths = bytes / kBytesPerHundredth;
  if (bytes % kBytesPerHundredth >= kBytesPerHundredth / 2) ++hundredths;

  const std::uint64_t whole = hundredths / 100;
  const std::uint64_t fraction = hundredths % 100;
  std::wstring text = whole == 0 ? std::wstring() : std::to_wstring(whole);
  text += decimalSeparator;
  if (fraction % 10 != 0) {
    text += static_cast<wchar_t>(L'0' + fraction / 10);
    text += static_cast<wchar_t>(L'0' + fraction % 10);
  } else if (fraction != 0) {
    text += static_cast<wchar_t>(L'0' + fraction / 10);
  }
  return text + L" GB";
}

std::wstring GetOS(const platform::SystemOs& os) {
  for (const std::string& entry : os.environment.EnvironmentStrings()) {
    const std::wstring wide = os.codePage.FromAnsi(entry);
    // Per-drive entries ("=C:=C:\Work") have an empty name here and match nothing.
    const std::size_t equals = wide.find(L'=');
    if (equals == std::wstring::npos) continue;
    if (SameName(std::wstring_view(wide).substr(0, equals), L"os")) return wide.substr(equals + 1);
  }
  return {};
}

std::wstring ShowCPU(const platform::SystemOs& os) { return cSystemInfo(os.figures).CPUVersion(); }

}  // namespace tv::sysinfo
