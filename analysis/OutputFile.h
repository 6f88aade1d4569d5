#pragma once

#include <sys/types.h>

#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

// The one way the program writes a file. What happens depends on what the
// path names, never on the caller:
// - "-": standard output (the stream given for it), written through.
// - something that exists and is not a regular file (a character device, a
//   FIFO, a terminal, /proc/self/fd/N): written through in place; it is never
//   replaced by a file.
// - a regular file, or a name that does not exist yet, followed through any
//   symlinks: TWrite::Whole writes a temporary file beside it and renames it
//   into place in Commit, so that the name holds the old bytes or the new ones
//   and never half of them; TWrite::InPlace truncates and writes the file
//   itself, and TWrite::Append adds to its end (rows that must survive a cut).
//   A symlink stays a symlink; the file it names gets the bytes. An existing
//   file keeps its mode, a new one gets what the umask gives (0644 under 022).
// Every write, flush and close is checked; the first failure is kept as one
// line naming the file and the system's reason ("cannot write 'x.csv': No
// space left on device"), after which nothing more is written. A Whole file
// that is not committed leaves no temporary behind and the old bytes as they were.
class TOutputFile
{
public:
    enum class TWrite { Whole, InPlace, Append };

    explicit TOutputFile(std::string path, TWrite how = TWrite::Whole, std::ostream& standardOutput = std::cout);
    ~TOutputFile();
    TOutputFile(const TOutputFile&) = delete;
    TOutputFile& operator=(const TOutputFile&) = delete;

    // False once opening or any write has failed; Error() says why.
    bool Good() const { return error.empty(); }
    const std::string& Error() const { return error; }

    bool Write(std::string_view bytes);
    // The file as a stream, for writers that speak streams; it fails with Good().
    std::ostream& Stream();
    // Flushes what is buffered to the system, then syncs it to the disk.
    bool Flush();
    // Flushes, closes and, for a Whole file, renames the temporary into place.
    // True when every byte is where it belongs.
    bool Commit();

private:
    class TBuffer;

    void Open(TWrite how);
    bool NameTemporary();
    // Keeps the first failure, with the system's reason for errno number.
    bool Fail(int number);

    std::string path;
    // The regular file that a Whole write replaces or creates, its symlinks
    // followed; empty when the bytes go straight to path.
    std::string target;
    // The temporary beside target while a Whole file is written: unnamed
    // (O_TMPFILE) until Commit links it where the file system allows.
    std::string temporary;
    bool unnamed = false;
    // What the replaced file had, given to the one that replaces it.
    std::optional<mode_t> keepMode;
    std::optional<std::pair<uid_t, gid_t>> keepOwner;
    int fd = -1;
    // Standard output's stream when path is "-".
    std::ostream* through = nullptr;
    std::string error;
    std::unique_ptr<TBuffer> buffer;
    std::unique_ptr<std::ostream> stream;
};

// bytes as the whole file at path (see TOutputFile): false, with the one-line
// reason in error, when it could not be written.
bool WriteWholeFile(const std::string& path, std::string_view bytes, std::string& error);

// The system's reason at the end of a writer's error line ("No space left on
// device"), for a window that words the rest in its own language.
std::string SystemReasonOf(const std::string& error);

// Which file a path names, symlinks followed; two paths naming the same file
// (a hard link, a symlink, another spelling) have equal identities.
struct TFileIdentity
{
    dev_t device = 0;
    ino_t inode = 0;
    bool operator==(const TFileIdentity&) const = default;
};
// The identity of an existing file; false when path names nothing (yet).
bool IdentifyFile(const std::string& path, TFileIdentity& identity);
