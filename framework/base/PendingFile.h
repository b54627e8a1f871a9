#pragma once
// The file being written under a temporary name right now, so that a
// program stopped by a signal can remove it before it ends: a half-written
// file must not stay behind.

#include <string>

// Records path (empty: none) as the file to remove.
void AfxSetPendingFile(const std::string& path);
// Removes the recorded file, if any. Safe to call from a signal handler.
void AfxRemovePendingFile() noexcept;
