// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/textfile.h"

#include "model/errors.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velmora {

std::string ReadFileBytes(const std::string &path)
{
    std::error_code ec;
    if (path.empty() || std::filesystem::is_directory(path, ec))
        throw UserError(msgCannotOpen(path));
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw UserError(msgCannotOpen(path));
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad())
        throw UserError(msgCannotOpen(path));
    return bytes;
}

std::vector<std::string> SplitLines(std::string_view text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            lines.emplace_back(text.substr(start, i - start));
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            ++i;
            start = i;
        } else {
            ++i;
        }
    }
    if (start < text.size())
        lines.emplace_back(text.substr(start));
    return lines;
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
    namespace fs = std::filesystem;
    std::error_code ec;
    if (path.empty() || fs::is_directory(path, ec))
        throw UserError(msgCannotCreate(path));

    fs::path target(path);
    if (fs::is_symlink(target, ec)) {
        const fs::path resolved = fs::weakly_canonical(target, ec);
        if (!ec)
            target = resolved;
    }

    static std::atomic<unsigned> counter{0};
    const std::string tmp = target.string() + ".tmp" + std::to_string(::getpid()) + "_"
        + std::to_string(counter++);
    const int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0)
        throw UserError(msgCannotCreate(path));

    struct stat st {};
    if (::stat(target.c_str(), &st) == 0)
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
