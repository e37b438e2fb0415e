// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/polarwindow.h"

#include <QWidget>

#include <functional>
#include <memory>

class QCheckBox;
class QLabel;
class QLineEdit;

namespace velmora {

class DiagramCanvas;

// The polar window "Polaren": the Reynolds list and the profile switch on
// top, the four diagrams, the status line with the count of failed angles.
class PolarForm : public QWidget, public PolarView
{
    Q_OBJECT
public:
    explicit PolarForm(QWidget *parent = nullptr);
    ~PolarForm() override;

    PolarWindowController &Controller() { return *m_controller; }

    QLineEdit *ReEdit = nullptr;
    QCheckBox *AllCheckBox = nullptr;
    QLabel *StatusLabel = nullptr;
    DiagramCanvas *Canvas = nullptr;

    // Asks the owner for a new computation (inputs of the window changed,
    // the window was shown).
    std::function<void()> RefreshRequested;

    // PolarView
    void ShowInfo(const std::string &text) override;
    std::optional<std::string> ChooseSaveFile(const FileDialogSetup &setup, const std::string &folder,
                                              const std::string &proposedName) override;
    bool WritePng(const DiagramScene &scene, const std::string &path) override;
    void Repaint() override;

    void ApplySettings(const PolarWindowSettings &s);
    PolarWindowSettings CurrentSettings() const;

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    std::unique_ptr<PolarWindowController> m_controller;
};

} // namespace velmora
