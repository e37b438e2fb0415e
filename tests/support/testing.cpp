// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/testing.h"

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>

#include <csignal>

#include <sys/resource.h>
#include <unistd.h>

namespace velmora::testing {

std::filesystem::path referenceDir()
{
    return std::filesystem::path(VELMORA_REFERENCE_DIR);
}

bool referenceDataAvailable()
{
    std::error_code ec;
    return std::filesystem::exists(referenceDir() / "analytic" / "summary.csv", ec);
}

bool referenceDataRequired()
{
    const char *v = std::getenv("VELMORA_REQUIRE_REFERENCE");
    return v && *v && std::string(v) != "0";
}

TProfile profileFrom(std::initializer_list<std::pair<double, double>> points, const std::string &name)
{
    TProfile p;
    p.Name = name;
    p.Title = name;
    for (const auto &[x, y] : points) {
        TKoordi k;
        k.X = x;
        k.Y = y;
        p.Points.push_back(k);
    }
    return p;
}

std::vector<std::string> profileNames(const TProf_Projekt &project)
{
    std::vector<std::string> names;
    for (const TProfile &p : project.Profiles)
        names.push_back(p.Name);
    return names;
}

TempDir::TempDir()
{
    static std::atomic<int> counter{0};
    m_path = std::filesystem::temp_directory_path()
        / ("velmora-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
    std::filesystem::remove_all(m_path);
    std::filesystem::create_directories(m_path);
}

TempDir::~TempDir()
{
    std::error_code ec;
    std::filesystem::permissions(m_path, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(m_path, ec);
}

FileSizeLimit::FileSizeLimit(unsigned long bytes)
{
    m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit lim{};
    ::getrlimit(RLIMIT_FSIZE, &lim);
    m_oldSoft = lim.rlim_cur;
    lim.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &lim);
}

FileSizeLimit::~FileSizeLimit()
{
    rlimit lim{};
    ::getrlimit(RLIMIT_FSIZE, &lim);
    lim.rlim_cur = m_oldSoft;
    ::setrlimit(RLIMIT_FSIZE, &lim);
    std::signal(SIGXFSZ, m_oldHandler);
}

void writeFile(const std::string &path, const std::string &bytes)
{
    std::ofstream out(path, std::ios::binary);
    out << bytes;
    if (!out)
        throw std::runtime_error("cannot write test file " + path);
}

std::string readFile(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read test file " + path);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

} // namespace velmora::testing
