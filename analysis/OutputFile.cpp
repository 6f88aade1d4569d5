#include "analysis/OutputFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <iostream>

namespace fs = std::filesystem;

namespace {

// Enough hops to follow any sane chain of links, few enough to end a loop.
constexpr int MostSymlinkHops = 40;

// Where a chain of symlinks ends: the name of the file itself, which may not
// exist yet (a dangling link is followed to the name it points at, so the
// link stays), and whether the chain passes through /proc, where
// /proc/self/fd/N, /dev/stdout and links to them name an open descriptor
// rather than a file to replace.
struct TLinkEnd
{
    std::string name;
    bool descriptor = false;
};

TLinkEnd FollowLinks(const std::string& path)
{
    fs::path name(path);
    std::error_code ec;
    for (int hop = 0; hop < MostSymlinkHops; ++hop) {
        const fs::path folder = fs::canonical(name.has_parent_path() ? name.parent_path() : fs::path("."), ec);
        if (!ec && folder.string().starts_with("/proc/"))
            return {name.string(), true};
        if (!fs::is_symlink(fs::symlink_status(name, ec)))
            break;
        const fs::path next = fs::read_symlink(name, ec);
        if (ec)
            break;
        name = next.is_absolute() ? next : name.parent_path() / next;
    }
    return {name.string(), false};
}

} // namespace

// Buffers the bytes and hands them to the file descriptor, or to the stream
// that stands for standard output; the first failure goes to the owner.
class TOutputFile::TBuffer : public std::streambuf
{
public:
    explicit TBuffer(TOutputFile& file) : owner(file) { setp(space.data(), space.data() + space.size()); }

    bool Drain()
    {
        const char* from = pbase();
        const bool sent = Send(from, static_cast<std::size_t>(pptr() - from));
        setp(space.data(), space.data() + space.size());
        return sent;
    }

protected:
    int_type overflow(int_type c) override
    {
        if (!Drain())
            return traits_type::eof();
        if (!traits_type::eq_int_type(c, traits_type::eof())) {
            *pptr() = traits_type::to_char_type(c);
            pbump(1);
        }
        return traits_type::not_eof(c);
    }

    std::streamsize xsputn(const char* bytes, std::streamsize count) override
    {
        if (count < epptr() - pptr()) {
            std::memcpy(pptr(), bytes, static_cast<std::size_t>(count));
            pbump(static_cast<int>(count));
            return count;
        }
        return Drain() && Send(bytes, static_cast<std::size_t>(count)) ? count : 0;
    }

    int sync() override { return Drain() ? 0 : -1; }

private:
    bool Send(const char* bytes, std::size_t count)
    {
        if (!owner.Good())
            return false;
        if (owner.through) {
            errno = 0;
            if (!owner.through->write(bytes, static_cast<std::streamsize>(count)))
                return owner.Fail(errno);
            return true;
        }
        while (count > 0) {
            const ssize_t written = ::write(owner.fd, bytes, count);
            if (written < 0 && errno == EINTR)
                continue;
            if (written <= 0)
                return owner.Fail(written < 0 ? errno : ENOSPC);
            bytes += written;
            count -= static_cast<std::size_t>(written);
        }
        return true;
    }

    TOutputFile& owner;
    std::array<char, 64 * 1024> space;
};

TOutputFile::TOutputFile(std::string name, TWrite how, std::ostream& standardOutput)
    : path(std::move(name)), buffer(std::make_unique<TBuffer>(*this)), stream(std::make_unique<std::ostream>(buffer.get()))
{
    if (path == "-")
        through = &standardOutput;
    else
        Open(how);
}

TOutputFile::~TOutputFile()
{
    if (fd >= 0)
        ::close(fd);
    if (!temporary.empty())
        ::unlink(temporary.c_str());
}

void TOutputFile::Open(TWrite how)
{
    struct stat existing {};
    const bool exists = ::stat(path.c_str(), &existing) == 0;
    const TLinkEnd end = FollowLinks(path);
    const bool replaceable = !end.descriptor && (!exists || S_ISREG(existing.st_mode));
    if (how != TWrite::Whole || !replaceable) {
        // A device, a FIFO, a terminal or a descriptor is written as it is,
        // never replaced; a descriptor's file goes on at its end, as the
        // descriptor itself would.
        const bool regular = exists && S_ISREG(existing.st_mode);
        const int mode = how == TWrite::Append || (end.descriptor && regular) ? O_APPEND
                       : replaceable                                         ? O_TRUNC
                                                                             : 0;
        fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | mode, 0666);
        if (fd < 0)
            Fail(errno);
        return;
    }
    target = end.name;
    if (exists) {
        keepMode = existing.st_mode & 07777;
        keepOwner = std::make_pair(existing.st_uid, existing.st_gid);
    }
    // Unnamed until it is whole where the file system allows it, so that a
    // cut leaves nothing behind; created with 0666, so that the umask gives
    // a new file its usual mode.
    const std::string folder = fs::path(target).parent_path().empty() ? "." : fs::path(target).parent_path().string();
    fd = ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    unnamed = fd >= 0;
    if (!unnamed && !NameTemporary())
        Fail(errno);
}

// Links the unnamed file, or creates a file, under a name of its own beside target.
bool TOutputFile::NameTemporary()
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = target + ".partial-" + std::to_string(::getpid()) + "-" + std::to_string(attempt);
        const bool made = unnamed ? ::linkat(AT_FDCWD, ("/proc/self/fd/" + std::to_string(fd)).c_str(), AT_FDCWD,
                                             temporary.c_str(), AT_SYMLINK_FOLLOW) == 0
                                  : (fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666)) >= 0;
        if (made)
            return true;
        if (errno != EEXIST)
            break;
    }
    temporary.clear();
    return false;
}

bool TOutputFile::Fail(int number)
{
    if (error.empty()) {
        const std::string what = through ? std::string("cannot write to standard output") : "cannot write '" + path + "'";
        error = what + ": " + std::strerror(number != 0 ? number : EIO);
    }
    return false;
}

bool TOutputFile::Write(std::string_view bytes)
{
    stream->write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return Good();
}

std::ostream& TOutputFile::Stream()
{
    return *stream;
}

bool TOutputFile::Flush()
{
    if (!buffer->Drain())
        return false;
    if (through) {
        errno = 0;
        if (!through->flush())
            return Fail(errno);
    }
    return Good();
}

bool TOutputFile::Commit()
{
    if (!Flush() || through)
        return Good();
    const bool replacing = !target.empty();
    if (replacing) {
        if (keepMode && ::fchmod(fd, *keepMode) != 0)
            return Fail(errno);
        // Only root can give a file back to its owner; others keep theirs.
        if (keepOwner && ::geteuid() == 0 && ::fchown(fd, keepOwner->first, keepOwner->second) != 0)
            return Fail(errno);
        if (::fsync(fd) != 0 || (unnamed && !NameTemporary()))
            return Fail(errno);
    }
    const int closed = ::close(fd);
    fd = -1;
    if (closed != 0 || (replacing && ::rename(temporary.c_str(), target.c_str()) != 0))
        return Fail(errno);
    temporary.clear();
    return true;
}

bool WriteWholeFile(const std::string& path, std::string_view bytes, std::string& error)
{
    TOutputFile file(path);
    if (file.Write(bytes) && file.Commit())
        return true;
    error = file.Error();
    return false;
}

std::string SystemReasonOf(const std::string& error)
{
    // Written after the last ": " by Fail; a path may hold one too, the reason does not.
    const std::size_t reason = error.rfind(": ");
    return reason == std::string::npos ? error : error.substr(reason + 2);
}

bool IdentifyFile(const std::string& path, TFileIdentity& identity)
{
    struct stat file {};
    if (path.empty() || path == "-" || ::stat(path.c_str(), &file) != 0)
        return false;
    identity = {file.st_dev, file.st_ino};
    return true;
}

