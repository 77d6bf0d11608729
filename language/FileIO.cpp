#include "language/FileIO.h"

#include "language/Errors.h"

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
#include <thread>
#include <unistd.h>

namespace trvx {

namespace fs = std::filesystem;

namespace {

class TFd {
public:
    explicit TFd(int fd = -1) : m_fd(fd) {}
    ~TFd() { Close(); }
    TFd(const TFd&) = delete;
    TFd& operator=(const TFd&) = delete;
    int Get() const { return m_fd; }
    int Close() {
        int rc = 0;
        if (m_fd >= 0)
            rc = ::close(m_fd);
        m_fd = -1;
        return rc;
    }

private:
    int m_fd;
};

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
    TTempFile(const fs::path& target, const std::string& shownPath) {
        std::random_device rd;
        const std::string base = TempPrefix(target);
        for (int attempt = 0; attempt < 100; ++attempt) {
            m_path = target.parent_path() / (base + std::to_string(rd()) + ".tmp");
            int fd = ::open(m_path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (fd >= 0) {
                m_fd = std::make_unique<TFd>(fd);
                // The lock rides on a second descriptor, so closing the first
                // one still reports late write errors before the rename.
                m_lock = std::make_unique<TFd>(::open(m_path.c_str(), O_RDONLY | O_CLOEXEC));
                if (m_lock->Get() >= 0)
                    ::flock(m_lock->Get(), LOCK_EX);
                return;
            }
            if (errno != EEXIST)
                throw EFCreateError(shownPath, SystemMessage(errno));
        }
        throw EFCreateError(shownPath, SystemMessage(EEXIST));
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

} // namespace

std::string FullPath(const std::string& fileName) {
    std::error_code ec;
    fs::path p = fs::absolute(fileName, ec);
    return ec ? fileName : p.lexically_normal().string();
}

TByteBuffer ReadWholeFile(const std::string& fileName) {
    TFd fd(::open(fileName.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.Get() < 0)
        throw EFOpenError(FullPath(fileName), SystemMessage(errno));
    struct stat st {};
    if (::fstat(fd.Get(), &st) != 0)
        throw EFOpenError(FullPath(fileName), SystemMessage(errno));
    if (S_ISDIR(st.st_mode))
        throw EFOpenError(FullPath(fileName), SystemMessage(EISDIR));

    // Regular files are read in one go into a block of their size; pipes and
    // files that grow while read fall back to a growing block.
    std::size_t capacity = S_ISREG(st.st_mode) ? static_cast<std::size_t>(st.st_size) + 1 : 1 << 16;
    TByteBuffer buffer(capacity);
    std::size_t used = 0;
    if (S_ISREG(st.st_mode) && capacity > kSplitReadSize)
        used = ReadHalvesAtOnce(fd.Get(), buffer.Data(), capacity - 1);
    for (;;) {
        if (used == buffer.Capacity()) {
            TByteBuffer bigger(buffer.Capacity() * 2);
            std::memcpy(bigger.Data(), buffer.Data(), used);
            buffer = std::move(bigger);
        }
        ssize_t n = ::read(fd.Get(), buffer.Data() + used, buffer.Capacity() - used);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            throw EFOpenError(FullPath(fileName), SystemMessage(errno));
        }
        if (n == 0)
            break;
        used += static_cast<std::size_t>(n);
    }
    buffer.Truncate(used);
    return buffer;
}

void SaveFileAtomically(const std::string& fileName,
                        const std::function<void(const WriteBytes&)>& produce) {
    const std::string shown = FullPath(fileName);
    const fs::path target = ResolveLinks(fs::path(shown));

    struct stat existing {};
    const bool exists = ::stat(target.c_str(), &existing) == 0;
    // A link loop or a path through a file cannot be written either.
    if (!exists && errno != ENOENT)
        throw EFCreateError(shown, SystemMessage(errno));
    if (exists && S_ISDIR(existing.st_mode))
        throw EFCreateError(shown, SystemMessage(EISDIR));
    // A file the user made read-only stays protected, as truncating it would be refused.
    if (exists && ::access(target.c_str(), W_OK) != 0)
        throw EFCreateError(shown, SystemMessage(errno));

    // Devices and pipes cannot be replaced, only written to.
    if (exists && !S_ISREG(existing.st_mode)) {
        TFd out(::open(target.c_str(), O_WRONLY | O_CLOEXEC));
        if (out.Get() < 0)
            throw EFCreateError(shown, SystemMessage(errno));
        produce([&](std::string_view bytes) { WriteAll(out.Get(), bytes); });
        if (out.Close() != 0)
            throw EWriteError(errno);
        return;
    }

    TTempFile temp(target, shown);
    produce([&](std::string_view bytes) { WriteAll(temp.Fd(), bytes); });

    if (exists) {
        ::fchmod(temp.Fd(), existing.st_mode & 07777);
        if (::fchown(temp.Fd(), existing.st_uid, existing.st_gid) != 0) {
            // Another owner cannot be kept without privileges; the content matters more.
        }
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
