#pragma once
// Registering roomsim for the aim: scheme, per user, so that the shell hands it room links.

namespace roomsim::win32 {

// Registers this program for aim: links under HKEY_CURRENT_USER\Software\Classes\aim and, under
// Wine, whose HKEY_CLASSES_ROOT does not see per-user classes, under HKEY_LOCAL_MACHINE as well.
// Leaves the scheme alone when another program (a real chat client) holds it. Returns whether
// roomsim is the handler afterwards.
bool ClaimAimScheme();

}  // namespace roomsim::win32
