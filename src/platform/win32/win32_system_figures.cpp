#include "platform/win32/win32_system_figures.h"

#include <windows.h>

#include <shlwapi.h>

#include "platform/win32/system_library.h"

namespace tv::platform {
namespace {

// Frees the library on every way out.
class LoadedLibrary {
 public:
  explicit LoadedLibrary(const char* name) : module_(LoadSystemLibrary(name)) {}
  ~LoadedLibrary() {
    if (module_ != nullptr) ::FreeLibrary(module_);
  }
  LoadedLibrary(const LoadedLibrary&) = delete;
  LoadedLibrary& operator=(const LoadedLibrary&) = delete;

  FARPROC Find(const char* export_name) const {
    return module_ != nullptr ? ::GetProcAddress(module_, export_name) : nullptr;
  }

 private:
  HMODULE module_;
};

}  // namespace

OsVersion Win32SystemFigures::GetVersionExA() {
  OSVERSIONINFOA info{};
  info.dwOSVersionInfoSize = sizeof(info);
  // Without a compatibility manifest Windows 8.1 and later report 6.2; that is what the tool
  // names, and a failure leaves the zeros.
  if (::GetVersionExA(&info) == 0) return {};
  return {info.dwMajorVersion, info.dwMinorVersion, info.dwBuildNumber};
}

std::uint32_t Win32SystemFigures::GetProcessorType() {
  SYSTEM_INFO info{};
  ::GetSystemInfo(&info);
  return info.dwProcessorType;
}

MemoryStatus Win32SystemFigures::GlobalMemoryStatusEx() {
  // The Ex form: GlobalMemoryStatus stops at 4 GiB (and at 2 GiB for programs without the
  // large-address flag).
  MEMORYSTATUSEX status{};
  status.dwLength = sizeof(status);
  if (::GlobalMemoryStatusEx(&status) == 0) return {};
  return {status.ullTotalPhys, status.ullAvailPhys, status.ullTotalVirtual, status.ullAvailVirtual};
}

std::optional<DllVersion> Win32SystemFigures::ShellDllVersion() {
  const LoadedLibrary shlwapi("shlwapi.dll");
  const auto getVersion =
      reinterpret_cast<DLLGETVERSIONPROC>(reinterpret_cast<void*>(shlwapi.Find("DllGetVersion")));
  if (getVersion == nullptr) return std::nullopt;
  DLLVERSIONINFO info{};
  info.cbSize = sizeof(info);
  // The result is ignored on purpose: a refusal that leaves the record alone reads as 0.0.0.
  getVersion(&info);
  return DllVersion{info.dwMajorVersion, info.dwMinorVersion, info.dwBuildNumber};
}

std::string Win32SystemFigures::DecimalSeparator() {
  char buffer[16] = {};
  const int length = ::GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, buffer, sizeof buffer);
  if (length <= 1) return {};
  return std::string(buffer, static_cast<std::size_t>(length - 1));
}

}  // namespace tv::platform
