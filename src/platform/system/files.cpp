// POSIX implementation of the file helpers.
#include "platform/system/files.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <new>
#include <sys/stat.h>
#include <unistd.h>

namespace Files {

namespace {

// Folders, pipes and devices are not files to the program: an open of one counts as failed.
// The open itself never waits: a named pipe would block a plain open until a writer (or a
// reader) comes, for ever if none does. Regular files then get their blocking mode back.
int Open_Regular_File(const char* path, int flags)
{
    if (path == nullptr || path[0] == '\0')
        return Invalid_Handle;
    const int handle = ::open(path, flags | O_NONBLOCK | O_CLOEXEC, 0644);
    if (handle < 0)
        return Invalid_Handle;
    struct stat info {};
    if (::fstat(handle, &info) != 0 || !S_ISREG(info.st_mode) ||
        ::fcntl(handle, F_SETFL, flags & O_APPEND) != 0) {
        ::close(handle);
        return Invalid_Handle;
    }
    return handle;
}

} // namespace

int Open_For_Reading(const char* path)
{
    return Open_Regular_File(path, O_RDONLY);
}

int Open_For_Writing(const char* path, bool create_always)
{
    return Open_Regular_File(path, create_always ? (O_WRONLY | O_CREAT | O_TRUNC) : (O_WRONLY | O_APPEND));
}

bool Exists_As_File(const char* path)
{
    struct stat info {};
    if (path == nullptr || path[0] == '\0' || ::stat(path, &info) != 0 || S_ISDIR(info.st_mode))
        return false;
    if (!S_ISREG(info.st_mode))
        return true; // a pipe or a device: there, though the program will not read it
    int handle = Open_For_Reading(path);
    const bool opens = handle != Invalid_Handle;
    Close(handle);
    return opens;
}

void Close(int& handle)
{
    if (handle >= 0)
        ::close(handle);
    handle = Invalid_Handle;
}

int64_t Size(int handle)
{
    struct stat info {};
    if (handle < 0 || ::fstat(handle, &info) != 0)
        return -1;
    return static_cast<int64_t>(info.st_size);
}

long Read(int handle, void* buffer, std::size_t size)
{
    if (handle < 0)
        return -1;
    std::size_t done = 0;
    auto* bytes = static_cast<char*>(buffer);
    while (done < size) {
        const ssize_t got = ::read(handle, bytes + done, size - done);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return -1;
        if (got == 0)
            break;
        done += static_cast<std::size_t>(got);
    }
    return static_cast<long>(done);
}

bool Write(int handle, const void* buffer, std::size_t size)
{
    if (handle < 0)
        return false;
    std::size_t done = 0;
    const auto* bytes = static_cast<const char*>(buffer);
    while (done < size) {
        const ssize_t put = ::write(handle, bytes + done, size - done);
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0)
            return false;
        done += static_cast<std::size_t>(put);
    }
    return true;
}

bool Is_Regular_File(const std::string& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

std::string Link_Target(const std::string& path)
{
    std::filesystem::path current = path;
    for (int hops = 0; hops <= 40; ++hops) {
        std::error_code error;
        if (!std::filesystem::is_symlink(std::filesystem::symlink_status(current, error)))
            return current.string();
        const std::filesystem::path target = std::filesystem::read_symlink(current, error);
        if (error)
            return "";
        current = target.is_absolute() ? target : current.parent_path() / target;
    }
    return "";
}

bool Is_Folder(const std::string& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

Read_Result Read_All(const std::string& path, std::vector<uint8_t>& bytes, std::size_t max_size)
{
    bytes.clear();
    int handle = Open_For_Reading(path.c_str());
    const int64_t size = Size(handle);
    Read_Result result = size < 0 ? Read_Result::Cannot_Read : Read_Result::Done;
    if (result == Read_Result::Done && static_cast<uint64_t>(size) > max_size)
        result = Read_Result::Too_Large;
    try {
        if (result == Read_Result::Done)
            bytes.resize(static_cast<std::size_t>(size));
    } catch (const std::bad_alloc&) {
        result = Read_Result::Too_Large;
    }
    // A file that grew since its size was taken is read only as far as that size.
    const long got = result == Read_Result::Done ? Read(handle, bytes.data(), bytes.size()) : -1;
    Close(handle);
    if (got < 0) {
        bytes = {};
        return result == Read_Result::Done ? Read_Result::Cannot_Read : result;
    }
    bytes.resize(static_cast<std::size_t>(got));
    return Read_Result::Done;
}

Replace_Result Replace_Contents(const std::string& path, const void* bytes, std::size_t size)
{
    mode_t mode = 0644;
    struct stat info {};
    if (::lstat(path.c_str(), &info) == 0 && !S_ISLNK(info.st_mode)) {
        if (!S_ISREG(info.st_mode) || (info.st_mode & S_IWUSR) == 0)
            return Replace_Result::Refused;
        mode = info.st_mode & 0777;
    }
    std::string temporary = path + ".XXXXXX";
    const int handle = ::mkstemp(temporary.data());
    if (handle < 0)
        return Replace_Result::Create_Failed;
    ::fchmod(handle, mode);
    int open_handle = handle;
    const bool written = Write(open_handle, bytes, size) && ::fsync(open_handle) == 0;
    const bool closed = ::close(open_handle) == 0;
    if (!written || !closed || std::rename(temporary.c_str(), path.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return Replace_Result::Write_Failed;
    }
    return Replace_Result::Done;
}

} // namespace Files
