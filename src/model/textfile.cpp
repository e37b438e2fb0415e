// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/textfile.h"

#include "model/errors.h"

#include <algorithm>
#include <atomic>
#include <csignal>
#include <cstdlib>
#include <cerrno>
#include <cstdio>
#include <new>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velmora {

std::string ReadFileBytes(const std::string &path)
{
    if (path.empty())
        throw UserError(msgCannotOpen(path));
    // O_NONBLOCK: a FIFO given as input must not block the open
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        throw UserError(msgCannotOpen(path));
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        throw UserError(msgCannotOpen(path));
    }
    if (st.st_size > off_t(kMaxInputFileBytes)) {
        ::close(fd);
        throw UserError(msgTooLarge(path));
    }
    std::string bytes;
    try {
        bytes.resize(size_t(st.st_size));
        size_t have = 0;
        // the file may grow while it is read: never beyond the limit
        for (;;) {
            if (have == bytes.size()) {
                if (bytes.size() > kMaxInputFileBytes)
                    throw UserError(msgTooLarge(path));
                bytes.resize(std::min(kMaxInputFileBytes + 1, bytes.size() + 65536));
            }
            const ssize_t n = ::read(fd, bytes.data() + have, bytes.size() - have);
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0)
                throw UserError(msgCannotOpen(path));
            if (n == 0)
                break;
            have += size_t(n);
        }
        bytes.resize(have);
    } catch (const std::bad_alloc &) {
        ::close(fd);
        throw UserError(msgTooLarge(path));
    } catch (...) {
        ::close(fd);
        throw;
    }
    ::close(fd);
    return bytes;
}

std::vector<std::string> SplitLines(std::string_view text)
{
    std::vector<std::string> lines;
    ForEachLine(text, [&lines](std::string_view line) { lines.emplace_back(line); });
    return lines;
}

std::string WithCrLfLineEnds(std::string_view text)
{
    std::string out;
    out.reserve(text.size() + text.size() / 16 + 2);
    ForEachLine(text, [&out](std::string_view line) {
        out += line;
        out += "\r\n";
    });
    return out;
}

std::vector<std::string> ReadFileLines(const std::string &path)
{
    return SplitLines(ReadFileBytes(path));
}

std::string JoinLinesCrLf(const std::vector<std::string> &lines)
{
    size_t total = 0;
    for (const auto &l : lines)
        total += l.size() + 2;
    std::string text;
    text.reserve(total);
    for (const auto &l : lines) {
        text += l;
        text += "\r\n";
    }
    return text;
}

namespace {

bool writeAll(int fd, std::string_view bytes)
{
    const char *p = bytes.data();
    size_t left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        p += n;
        left -= size_t(n);
    }
    return true;
}

} // namespace

void WriteFileAtomic(const std::string &path, std::string_view bytes)
{
    // a file-size limit must fail the write with a message, not end the process
    std::signal(SIGXFSZ, SIG_IGN);

    if (path.empty())
        throw UserError(msgCannotCreate(path));

    // A link is followed; a dangling one has nothing sound to replace. An
    // existing target that is no regular file (a device, a FIFO, a folder)
    // is never replaced by one.
    std::string target = path;
    struct stat lst {};
    if (::lstat(path.c_str(), &lst) == 0 && S_ISLNK(lst.st_mode)) {
        char *resolved = ::realpath(path.c_str(), nullptr);
        if (!resolved)
            throw UserError(msgCannotCreate(path));
        target = resolved;
        std::free(resolved);
    }
    struct stat st {};
    const bool exists = ::stat(target.c_str(), &st) == 0;
    if (exists && !S_ISREG(st.st_mode))
        throw UserError(msgCannotCreate(path));

    // a short name beside the target: a file name of the longest legal
    // length still leaves room for it
    static std::atomic<unsigned> counter{0};
    const std::string tmp = FolderPartWithSeparator(target) + ".vm" + std::to_string(::getpid())
        + "_" + std::to_string(counter++) + ".tmp";
    const int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0)
        throw UserError(msgCannotCreate(path));

    if (exists)
        ::fchmod(fd, st.st_mode & 07777);

    bool ok = writeAll(fd, bytes);
    ok = ok && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    ok = ok && std::rename(tmp.c_str(), target.c_str()) == 0;
    if (!ok) {
        ::unlink(tmp.c_str());
        throw UserError(msgCannotCreate(path));
    }
}

std::string WithoutControlCharacters(std::string_view text)
{
    std::string out(text);
    for (char &c : out) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 32 || u == 127)
            c = ' ';
    }
    return out;
}

std::string UpperAscii(std::string_view text)
{
    std::string upper(text);
    for (char &c : upper) {
        if (c >= 'a' && c <= 'z')
            c = char(c - 32);
    }
    return upper;
}

bool EndsWithNoCase(std::string_view text, std::string_view ending)
{
    return text.size() >= ending.size()
        && UpperAscii(text.substr(text.size() - ending.size())) == UpperAscii(ending);
}

std::string FileNamePart(const std::string &path)
{
    const auto pos = path.find_last_of("/\\");
    return pos == std::string::npos ? path : path.substr(pos + 1);
}

std::string FolderPartWithSeparator(const std::string &path)
{
    const auto pos = path.find_last_of("/\\");
    return pos == std::string::npos ? std::string() : path.substr(0, pos + 1);
}

} // namespace velmora
