#include "format/FileIO.h"

#include "tree/Errors.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <random>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <thread>
#include <unistd.h>

namespace trvx {

namespace fs = std::filesystem;

namespace {

// Follows a chain of symbolic links to the file that is really written.
fs::path ResolveLinks(fs::path path) {
    for (int hops = 0; hops < 40; ++hops) {
        std::error_code ec;
        if (!fs::is_symlink(fs::symlink_status(path, ec)))
            return path;
        fs::path target = fs::read_symlink(path, ec);
        if (ec)
            return path;
        path = target.is_absolute() ? target : path.parent_path() / target;
    }
    return path;
}

// Temporaries are named "." + the target's name + "." + digits + ".tmp".
std::string TempPrefix(const fs::path& target) {
    return "." + target.filename().string() + ".";
}

bool IsTempOf(std::string_view name, std::string_view prefix) {
    constexpr std::string_view suffix = ".tmp";
    if (name.size() <= prefix.size() + suffix.size() || !name.starts_with(prefix) ||
        !name.ends_with(suffix))
        return false;
    const std::string_view digits =
        name.substr(prefix.size(), name.size() - prefix.size() - suffix.size());
    return std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Removes the temporary file unless the save got as far as renaming it. It
// is locked from its first byte to its rename, so a save running elsewhere
// can tell it from one that a killed save left behind.
class TTempFile {
public:
    // False, with errno set, when the folder refuses a new file.
    bool Create(const fs::path& folder, const fs::path& target, mode_t mode) {
        std::random_device rd;
        const std::string base = TempPrefix(target);
        for (int attempt = 0; attempt < 100; ++attempt) {
            m_path = folder / (base + std::to_string(rd()) + ".tmp");
            int fd = ::open(m_path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, mode);
            if (fd >= 0) {
                m_fd = std::make_unique<TFd>(fd);
                // The lock rides on a second descriptor, so closing the first
                // one still reports late write errors before the rename.
                m_lock = std::make_unique<TFd>(::open(m_path.c_str(), O_RDONLY | O_CLOEXEC));
                if (m_lock->Get() >= 0)
                    ::flock(m_lock->Get(), LOCK_EX);
                return true;
            }
            if (errno != EEXIST)
                return false;
        }
        return false;
    }
    ~TTempFile() {
        if (m_fd) {
            m_fd->Close();
            ::unlink(m_path.c_str());
        }
    }
    int Fd() const { return m_fd->Get(); }
    const fs::path& Path() const { return m_path; }
    int Close() { return m_fd->Close(); }
    void Keep() {
        m_fd.reset();
        m_lock.reset();
    }

private:
    fs::path m_path;
    std::unique_ptr<TFd> m_fd;
    std::unique_ptr<TFd> m_lock;
};

// Removes what saves of this target that were killed midway left behind:
// temporaries nobody holds a lock on. A fresh empty one may belong to a save
// that has created it and not yet locked it: it goes only once it is old.
void RemoveStaleTemporaries(const fs::path& target) {
    const std::time_t settled = std::time(nullptr) - 60;
    const std::string prefix = TempPrefix(target);
    std::error_code ec;
    fs::directory_iterator it(target.parent_path(), ec);
    for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
        const fs::path& path = it->path();
        if (!IsTempOf(path.filename().string(), prefix))
            continue;
        TFd fd(::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
        struct stat st {};
        if (fd.Get() >= 0 && ::fstat(fd.Get(), &st) == 0 && S_ISREG(st.st_mode) &&
            (st.st_size > 0 || st.st_mtime < settled) && ::flock(fd.Get(), LOCK_EX | LOCK_NB) == 0)
            ::unlink(path.c_str());
    }
}

void WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR)
                continue;
            throw EWriteError(errno);
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
}

// Hands written bytes to the disk now, without waiting: the fsync that ends
// a save then finds little left to write, instead of the whole file.
void StartWriteback([[maybe_unused]] int fd, [[maybe_unused]] off_t offset,
                    [[maybe_unused]] std::size_t size) {
#ifdef SYNC_FILE_RANGE_WRITE
    ::sync_file_range(fd, offset, static_cast<off_t>(size), SYNC_FILE_RANGE_WRITE);
#endif
}

// Reads exactly size bytes at offset; false on an error or an early end.
bool ReadRange(int fd, char* out, std::size_t size, off_t offset) {
    while (size > 0) {
        const ssize_t n = ::pread(fd, out, size, offset);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        out += n;
        offset += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

// Most of the cost of reading a large file is the kernel clearing and
// filling fresh pages; two threads, each on its own half, share that out.
constexpr std::size_t kSplitReadSize = std::size_t{16} << 20;

std::size_t ReadHalvesAtOnce(int fd, char* data, std::size_t size) {
    const std::size_t half = size / 2;
    bool secondOk = false;
    std::thread second([&] { secondOk = ReadRange(fd, data + half, size - half, off_t(half)); });
    const bool firstOk = ReadRange(fd, data, half, 0);
    second.join();
    // pread leaves the file offset at 0: on any surprise the plain loop
    // reads the file again from its start, else it reads what was appended.
    if (!firstOk || !secondOk || ::lseek(fd, off_t(size), SEEK_SET) != off_t(size))
        return 0;
    return size;
}

// Why a file that is not a regular one is not read or replaced.
std::string NotAFile(mode_t mode) {
    if (S_ISDIR(mode))
        return SystemMessage(EISDIR);
    if (S_ISFIFO(mode))
        return "It is a named pipe, not a file";
    if (S_ISSOCK(mode))
        return "It is a socket, not a file";
    return "It is a device, not a file";
}

std::string LimitText(std::uint64_t limit) {
    if (limit % (std::uint64_t{1} << 30) == 0)
        return std::to_string(limit >> 30) + " GiB";
    return std::to_string(limit) + " bytes";
}

enum class TReadEnd { End, Error, TooLarge };

// A language text ends at its first NUL; an endless source such as
// /dev/zero is read only this far past it. What is read still tells how much
// a NUL cut off.
constexpr std::size_t kPastNul = std::size_t{16} << 20;

// Reads on after the first used bytes of buffer, growing it, until the end
// of the input, or with textOnly kPastNul bytes past its first NUL unless it
// is a host module (which starts with "MZ" and holds NULs throughout).
TReadEnd ReadRest(int fd, TByteBuffer& buffer, std::size_t& used, std::uint64_t limit,
                  bool textOnly) {
    std::size_t nul = std::string_view::npos;
    for (;;) {
        if (used >= limit) {
            char probe = 0;
            ssize_t n;
            do
                n = ::read(fd, &probe, 1);
            while (n < 0 && errno == EINTR);
            return n == 0 ? TReadEnd::End : n < 0 ? TReadEnd::Error : TReadEnd::TooLarge;
        }
        if (used == buffer.Capacity()) {
            TByteBuffer bigger(static_cast<std::size_t>(
                std::min<std::uint64_t>(std::uint64_t{buffer.Capacity()} * 2, limit)));
            std::memcpy(bigger.Data(), buffer.Data(), used);
            buffer = std::move(bigger);
        }
        const std::size_t room = static_cast<std::size_t>(
            std::min<std::uint64_t>(buffer.Capacity() - used, limit - used));
        const ssize_t n = ::read(fd, buffer.Data() + used, room);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return TReadEnd::Error;
        }
        if (n == 0)
            return TReadEnd::End;
        const char* data = buffer.Data();
        if (textOnly && nul == std::string_view::npos &&
            !(used + n >= 2 && data[0] == 'M' && data[1] == 'Z'))
            if (const void* at = std::memchr(data + used, 0, static_cast<std::size_t>(n)))
                nul = static_cast<std::size_t>(static_cast<const char*>(at) - data);
        used += static_cast<std::size_t>(n);
        if (nul != std::string_view::npos && used - nul > kPastNul) {
            used = nul + kPastNul;
            return TReadEnd::End;
        }
    }
}

// Counts what goes to the disk, and stops a text that outgrows the room
// there was at the start before it fills the disk.
class TRoomGuard {
public:
    TRoomGuard(int fd, std::uint64_t leastSize, const std::string& shown) {
        struct statvfs vfs {};
        // Some file systems (FUSE, network) report no sizes at all.
        if (::fstatvfs(fd, &vfs) != 0 || vfs.f_frsize == 0 || vfs.f_blocks == 0)
            return;
        const std::uint64_t free = std::uint64_t{vfs.f_bavail} * vfs.f_frsize;
        // Keep room for everything else on the disk; small disks keep half.
        m_room = free - std::min<std::uint64_t>(free / 2, kSpare);
        if (leastSize > m_room)
            throw EFCreateError(shown, SystemMessage(ENOSPC) + ": the text takes at least " +
                                           std::to_string(leastSize) + " bytes");
    }
    // Writes to fd, which is new and empty, until the room is used up.
    WriteBytes Writer(int fd) {
        return [this, fd](std::string_view bytes) {
            if (m_written + bytes.size() > m_room)
                throw EWriteError();
            WriteAll(fd, bytes);
            m_written += bytes.size();
            // A writeback per megabyte or more: per small write it cost time.
            if (m_written - m_started >= kWriteback) {
                StartWriteback(fd, static_cast<off_t>(m_started), m_written - m_started);
                m_started = m_written;
            }
        };
    }

private:
    static constexpr std::uint64_t kSpare = std::uint64_t{64} << 20;
    static constexpr std::uint64_t kWriteback = std::uint64_t{1} << 20;
    std::uint64_t m_room = UINT64_MAX;
    std::uint64_t m_written = 0;
    std::uint64_t m_started = 0; // written bytes handed to writeback
};

void CopyFileContent(int from, int to) {
    char block[1 << 16];
    off_t offset = 0;
    for (;;) {
        const ssize_t n = ::pread(from, block, sizeof block, offset);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            throw EWriteError();
        if (n == 0)
            return;
        WriteAll(to, {block, static_cast<std::size_t>(n)});
        offset += n;
    }
}

// The folder takes no new file, but the file may be written: the text goes
// to a private copy elsewhere first, then over the file. A failure after the
// file was cut keeps the copy and names it.
void SaveInPlace(const fs::path& target, const std::string& shown, int folderError,
                 const std::function<void(const WriteBytes&)>& produce, std::uint64_t leastSize) {
    std::error_code ec;
    const fs::path elsewhere = fs::temp_directory_path(ec);
    TTempFile copy;
    if (ec || !copy.Create(elsewhere, target, 0600))
        throw EFCreateError(shown, SystemMessage(folderError));
    TRoomGuard room(copy.Fd(), leastSize, shown);
    produce(room.Writer(copy.Fd()));
    if (::fsync(copy.Fd()) != 0)
        throw EWriteError();

    TFd out(::open(target.c_str(), O_WRONLY | O_CLOEXEC));
    if (out.Get() < 0)
        throw EFCreateError(shown, SystemMessage(errno));
    try {
        if (::ftruncate(out.Get(), 0) != 0)
            throw EWriteError();
        CopyFileContent(copy.Fd(), out.Get());
        if (::fsync(out.Get()) != 0 || out.Close() != 0)
            throw EWriteError();
    } catch (const ETrvxError& e) {
        copy.Keep();
        throw ETrvxError(std::string(e.what()) +
                         ". The file may be cut short; the whole text is in \"" +
                         copy.Path().string() + "\"");
    }
}

} // namespace

std::string TooLargeMessage(std::uint64_t limit) {
    return "It is larger than " + LimitText(limit) + ", more than any language file";
}

std::string FullPath(const std::string& fileName) {
    std::error_code ec;
    fs::path p = fs::absolute(fileName, ec);
    return ec ? fileName : p.lexically_normal().string();
}

TFd OpenRegularFile(const std::string& fileName, std::string& whyNot) {
    struct stat st {};
    if (::stat(fileName.c_str(), &st) != 0) {
        whyNot = SystemMessage(errno);
        return TFd();
    }
    if (!S_ISREG(st.st_mode)) {
        whyNot = NotAFile(st.st_mode);
        return TFd();
    }
    // Non-blocking, should it have been swapped for a pipe since.
    TFd fd(::open(fileName.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (!fd.IsOpen()) {
        whyNot = SystemMessage(errno);
        return TFd();
    }
    if (::fstat(fd.Get(), &st) != 0 || !S_ISREG(st.st_mode)) {
        whyNot = NotAFile(st.st_mode);
        return TFd();
    }
    ::fcntl(fd.Get(), F_SETFL, ::fcntl(fd.Get(), F_GETFL) & ~O_NONBLOCK);
    return fd;
}

TFd OpenFileToRead(const std::string& fileName, std::uint64_t limit, std::uint64_t& size) {
    std::string whyNot;
    TFd fd = OpenRegularFile(fileName, whyNot);
    if (!fd.IsOpen())
        throw EFOpenError(FullPath(fileName), whyNot);
    struct stat st {};
    if (::fstat(fd.Get(), &st) != 0)
        throw EFOpenError(FullPath(fileName), SystemMessage(errno));
    size = static_cast<std::uint64_t>(st.st_size);
    if (size > limit)
        throw EFOpenError(FullPath(fileName), TooLargeMessage(limit));
    return fd;
}

TByteBuffer ReadWholeFile(const std::string& fileName, std::uint64_t limit) {
    std::uint64_t fileSize = 0;
    const TFd fd = OpenFileToRead(fileName, limit, fileSize);

    // Read in one go into a block of the file's size; a file that grows
    // while read goes on into a growing block.
    const auto size = static_cast<std::size_t>(fileSize);
    TByteBuffer buffer(size + 1);
    std::size_t used = 0;
    if (size + 1 > kSplitReadSize)
        used = ReadHalvesAtOnce(fd.Get(), buffer.Data(), size);
    switch (ReadRest(fd.Get(), buffer, used, limit, false)) {
    case TReadEnd::End:
        break;
    case TReadEnd::Error:
        throw EFOpenError(FullPath(fileName), SystemMessage(errno));
    case TReadEnd::TooLarge:
        throw EFOpenError(FullPath(fileName), TooLargeMessage(limit));
    }
    buffer.Truncate(used);
    return buffer;
}

TByteBuffer ReadStandardInput(std::uint64_t limit) {
    TByteBuffer buffer(std::size_t{1} << 16);
    std::size_t used = 0;
    switch (ReadRest(STDIN_FILENO, buffer, used, limit, true)) {
    case TReadEnd::End:
        break;
    case TReadEnd::Error:
        throw ETrvxError("standard input: " + SystemMessage(errno));
    case TReadEnd::TooLarge:
        throw ETrvxError("standard input: " + TooLargeMessage(limit));
    }
    buffer.Truncate(used);
    return buffer;
}

void SaveFileAtomically(const std::string& fileName,
                        const std::function<void(const WriteBytes&)>& produce,
                        std::uint64_t leastSize) {
    const std::string shown = FullPath(fileName);
    const fs::path target = ResolveLinks(fs::path(shown));

    struct stat existing {};
    const bool exists = ::stat(target.c_str(), &existing) == 0;
    // A link loop or a path through a file cannot be written either.
    if (!exists && errno != ENOENT)
        throw EFCreateError(shown, SystemMessage(errno));
    // A pipe would block until someone reads it; only a character device
    // (/dev/null, a terminal) is written to as it is.
    if (exists && !S_ISREG(existing.st_mode) && !S_ISCHR(existing.st_mode))
        throw EFCreateError(shown, NotAFile(existing.st_mode));
    // A file the user made read-only stays protected, as truncating it would be refused.
    if (exists && ::access(target.c_str(), W_OK) != 0)
        throw EFCreateError(shown, SystemMessage(errno));
    if (leastSize > kReadLimit)
        throw EFCreateError(shown, "The text would take at least " + std::to_string(leastSize) +
                                       " bytes, more than a language file may hold (" +
                                       LimitText(kReadLimit) + ")");

    if (exists && S_ISCHR(existing.st_mode)) {
        TFd out(::open(target.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC));
        if (out.Get() < 0)
            throw EFCreateError(shown, SystemMessage(errno));
        ::fcntl(out.Get(), F_SETFL, ::fcntl(out.Get(), F_GETFL) & ~O_NONBLOCK);
        produce([&](std::string_view bytes) { WriteAll(out.Get(), bytes); });
        if (out.Close() != 0)
            throw EWriteError(errno);
        return;
    }

    // The new text of a private file must not be readable by others while
    // it is written; the file's own mode follows once every byte is there.
    TTempFile temp;
    if (!temp.Create(target.parent_path(), target, exists ? 0600 : 0666)) {
        const int folderError = errno;
        if (exists && (folderError == EACCES || folderError == EPERM || folderError == EROFS)) {
            SaveInPlace(target, shown, folderError, produce, leastSize);
            return;
        }
        throw EFCreateError(shown, SystemMessage(folderError));
    }
    TRoomGuard room(temp.Fd(), leastSize, shown);
    produce(room.Writer(temp.Fd()));

    if (exists) {
        if (::fchown(temp.Fd(), existing.st_uid, existing.st_gid) != 0) {
            // Another owner cannot be kept without privileges; the content matters more.
        }
        // After the owner: changing it may clear the set-id bits.
        ::fchmod(temp.Fd(), existing.st_mode & 07777);
    }
    if (::fsync(temp.Fd()) != 0 || temp.Close() != 0)
        throw EWriteError(errno);
    if (::rename(temp.Path().c_str(), target.c_str()) != 0)
        throw EFCreateError(shown, SystemMessage(errno));
    temp.Keep();
    RemoveStaleTemporaries(target);

    // Make the rename itself durable.
    TFd dir(::open(target.parent_path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.Get() >= 0)
        ::fsync(dir.Get());
}

} // namespace trvx
