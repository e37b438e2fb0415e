// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/profile.h"

#include <filesystem>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

namespace velmora::testing {

// ../shared/reference beside the project; tests that need it fail with a
// clear message when it is missing.
std::filesystem::path referenceDir();

// A profile from (x, y) pairs, every flag cleared.
TProfile profileFrom(std::initializer_list<std::pair<double, double>> points,
                     const std::string &name = "test");

// The names of the project's profiles in list order.
std::vector<std::string> profileNames(const TProf_Projekt &project);

// A fresh folder under the system temp folder, removed with its contents.
class TempDir
{
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir &) = delete;
    TempDir &operator=(const TempDir &) = delete;

    const std::filesystem::path &path() const { return m_path; }
    std::string file(const std::string &name) const { return (m_path / name).string(); }

private:
    std::filesystem::path m_path;
};

// Limits the size of files this process writes (RLIMIT_FSIZE) while it
// lives, so writes fail part-way as on a full disk; SIGXFSZ is ignored.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(unsigned long bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

private:
    unsigned long m_oldSoft;
    void (*m_oldHandler)(int);
};

void writeFile(const std::string &path, const std::string &bytes);
std::string readFile(const std::string &path);

} // namespace velmora::testing
