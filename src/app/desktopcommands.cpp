// SPDX-License-Identifier: GPL-3.0-or-later
// What a desktop program does beyond its menus: files handed over by the
// file manager or the command line, the list of recent files, saving in
// place, and the window title that names the project.
#include "app/maincontroller.h"
#include "model/errors.h"
#include "model/projectfile.h"
#include "model/textfile.h"

#include <filesystem>

namespace velmora {

namespace {

bool isProjectFile(const std::string &path)
{
    return EndsWithNoCase(path, ".VMPRO") || EndsWithNoCase(path, ".VMPRO2");
}

} // namespace

std::vector<std::string> MainController::chooseOpen(const FileDialogSetup &setup, const std::string &folder)
{
    if (m_givenFiles) {
        std::vector<std::string> files = std::move(*m_givenFiles);
        m_givenFiles.reset();
        return files;
    }
    return m_view.ChooseOpenFiles(setup, folder);
}

void MainController::OpenFiles(const std::vector<std::string> &paths)
{
    std::vector<std::string> profiles;
    for (const std::string &p : paths) {
        if (!isProjectFile(p))
            profiles.push_back(p);
    }
    if (!profiles.empty()) {
        m_givenFiles = profiles;
        ProfilLaden();
    }
    for (const std::string &p : paths) {
        if (isProjectFile(p)) {
            m_givenFiles = std::vector<std::string>{p};
            ProjektDateiDazuLaden();
        }
    }
    m_givenFiles.reset();
}

void MainController::OpenRecent(const std::string &path)
{
    std::error_code ec;
    if (!std::filesystem::is_regular_file(std::filesystem::u8path(path), ec)) {
        m_recent.Remove(path);
        m_view.ShowInfo(msgCannotOpen(path) + "\rDer Eintrag wird aus der Liste \"Zuletzt geöffnet\" entfernt.");
        return;
    }
    m_givenFiles = std::vector<std::string>{path};
    if (isProjectFile(path))
        ProjektDateiLaden();
    else
        ProfilLaden();
    m_givenFiles.reset();
}

bool MainController::ProjektDateiSpeichern()
{
    if (m_project.FilePath.empty())
        return ProjektDateiSpeichernUnter();
    const std::string path = m_project.FilePath;
    try {
        WriteProjectFile(m_project, path);
    } catch (const UserError &e) {
        reportError(e.what());
        return false;
    }
    m_project.FileName = path;
    m_history.MarkSaved(path);
    m_recent.Add(path);
    return true;
}

std::string MainController::WindowTitle() const
{
    if (m_project.FilePath.empty())
        return "Velmora ";
    return "Velmora – " + FileNamePart(m_project.FilePath) + (m_project.Modified ? "*" : "");
}

} // namespace velmora
