// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/profile.h"

#include <filesystem>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

namespace velmora::testing {

// The reference data (../shared/reference beside the project, or as
// configured). Tests that need it start with VELMORA_NEEDS_REFERENCE_DATA():
// without the data they are skipped with a note, or fail when the
// environment sets VELMORA_REQUIRE_REFERENCE (as CI does).
std::filesystem::path referenceDir();
bool referenceDataAvailable();
bool referenceDataRequired();

#define VELMORA_NEEDS_REFERENCE_DATA()                                                          \
    do {                                                                                        \
        if (!velmora::testing::referenceDataAvailable()) {                                      \
            if (velmora::testing::referenceDataRequired())                                      \
                FAIL() << "reference data missing: " << velmora::testing::referenceDir();       \
            GTEST_SKIP() << "reference data not found at " << velmora::testing::referenceDir(); \
        }                                                                                       \
    } while (false)

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
