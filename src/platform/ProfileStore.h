#pragma once
// Internal to the platform layer: the cached INI files behind CWinApp's profile functions.
#include <optional>
#include <string>

namespace profile {
std::optional<std::string> Read(const std::string& file, const char* section, const char* entry);
// False when the write was refused or the file could not be written (disk unchanged; the
// reason in LastWriteFailure); inside a batch the save waits, and a refusal fails the batch.
bool Write(const std::string& file, const char* section, const char* entry, const char* value);
// Inside a read scope a file is compared with the disk once, not at every key.
void BeginRead();
void EndRead();
void BeginBatch();
bool EndBatch();  // writes the pending files when the outermost batch ends
}  // namespace profile
