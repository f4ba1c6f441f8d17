#pragma once
// System DLLs that are loaded on demand, so that a program still starts on a Windows without
// them (dwmapi.dll came with Vista) and never picks up a same-named DLL from another folder.

#include <windows.h>

namespace tv::platform {

// `name` from the system folder, or nullptr. The caller frees it with FreeLibrary.
HMODULE LoadSystemLibrary(const char* name);

// The same by the full path in the system folder: what LoadSystemLibrary falls back to where the
// system has no LOAD_LIBRARY_SEARCH_SYSTEM32 (XP; Vista and 7 without KB2533623).
HMODULE LoadFromSystemFolder(const char* name);

// An export of `module` as a function pointer of type Fn, or nullptr.
template <typename Fn>
Fn FindExport(HMODULE module, const char* name) {
  return module != nullptr
             ? reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(module, name)))
             : nullptr;
}

}  // namespace tv::platform
