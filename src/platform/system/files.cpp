// POSIX implementation of the file helpers.
#include "platform/system/files.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Files {

namespace {

// Folders and devices are not files to the program: an open of one counts as failed.
int Regular_File_Only(int handle)
{
    struct stat info {};
    if (handle >= 0 && (::fstat(handle, &info) != 0 || !S_ISREG(info.st_mode))) {
        ::close(handle);
        return Invalid_Handle;
    }
    return handle < 0 ? Invalid_Handle : handle;
}

} // namespace

int Open_For_Reading(const char* path)
{
    if (path == nullptr || path[0] == '\0')
        return Invalid_Handle;
    return Regular_File_Only(::open(path, O_RDONLY | O_CLOEXEC));
}

int Open_For_Writing(const char* path, bool create_always)
{
    if (path == nullptr || path[0] == '\0')
        return Invalid_Handle;
    const int flags = create_always ? (O_WRONLY | O_CREAT | O_TRUNC) : (O_WRONLY | O_APPEND);
    return Regular_File_Only(::open(path, flags | O_CLOEXEC, 0644));
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

bool Is_Folder(const std::string& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool Read_All(const std::string& path, std::vector<uint8_t>& bytes)
{
    int handle = Open_For_Reading(path.c_str());
    const int64_t size = Size(handle);
    if (size < 0) {
        Close(handle);
        return false;
    }
    bytes.resize(static_cast<std::size_t>(size));
    const long got = Read(handle, bytes.data(), bytes.size());
    Close(handle);
    if (got < 0)
        return false;
    bytes.resize(static_cast<std::size_t>(got));
    return true;
}

Replace_Result Replace_Contents(const std::string& path, const void* bytes, std::size_t size)
{
    std::string temporary = path + ".XXXXXX";
    const int handle = ::mkstemp(temporary.data());
    if (handle < 0)
        return Replace_Result::Create_Failed;
    ::fchmod(handle, 0644);
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
