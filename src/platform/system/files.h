// Plain file helpers over POSIX descriptors, standing in for the original platform's
// CreateFileA/ReadFile/WriteFile/GetFileSize/CloseHandle. A descriptor is an int; -1 is the
// invalid handle. Every call is safe with -1 and with texts that are not valid paths.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace Files {

inline constexpr int Invalid_Handle = -1;

// Open an existing regular file for reading. Folders are refused, as CreateFileA refuses them,
// and so are pipes and devices, without waiting for a peer.
int Open_For_Reading(const char* path);
// Open a regular file for writing: create_always creates or truncates; otherwise the file must
// exist and the descriptor appends to its end.
int Open_For_Writing(const char* path, bool create_always);
// The existence test of FileExists: a regular file that opens for reading, or anything else
// that is not a folder (a pipe or a device in a file's place is there, but refused by the
// opens above, so its reader reports the failed open instead of passing it over in silence).
bool Exists_As_File(const char* path);
void Close(int& handle);

// Size in bytes, or -1 when it cannot be told.
int64_t Size(int handle);
// Reads up to `size` bytes (retrying short reads); returns the count, or -1 on failure.
long Read(int handle, void* buffer, std::size_t size);
// Writes all `size` bytes; false on any failure.
bool Write(int handle, const void* buffer, std::size_t size);

bool Is_Regular_File(const std::string& path);
// The path a chain of symbolic links at `path` ends in (a relative link read from its own
// folder); `path` itself when it is no link; "" for a loop or a chain of more than 40 links.
std::string Link_Target(const std::string& path);
bool Is_Folder(const std::string& path);

// The whole file, when it is a regular file of at most max_size bytes. The size is checked
// before anything is allocated, and no allocation failure escapes: both are Too_Large.
enum class Read_Result { Done, Cannot_Read, Too_Large };
Read_Result Read_All(const std::string& path, std::vector<uint8_t>& bytes, std::size_t max_size);

// Replaces the file's contents so that a crash at any moment leaves either the old or the new
// contents: writes a temporary file in the same folder, flushes it and renames it over `path`.
// The new file keeps the permission bits of the file it replaces (0644 for a new one). A file
// whose owner may not write it is not replaced, whoever runs the program (root included), and
// neither is anything but a regular file: both are Refused. A symbolic link at `path` is itself
// replaced, not followed.
enum class Replace_Result { Done, Refused, Create_Failed, Write_Failed };
Replace_Result Replace_Contents(const std::string& path, const void* bytes, std::size_t size);

} // namespace Files
