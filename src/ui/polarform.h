// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/polarwindow.h"
#include "ui/diagramwindow.h"

#include <functional>
#include <memory>

class QCheckBox;
class QLabel;
class QLineEdit;

namespace velmora {

// The polar window "Polaren": the Reynolds list and the profile switch on
// top, the four diagrams, the status line with the count of failed angles.
class PolarForm : public DiagramWindow
{
    Q_OBJECT
public:
    explicit PolarForm(QWidget *parent = nullptr);
    ~PolarForm() override;

    PolarWindowController &Controller() { return *m_controller; }

    QLineEdit *ReEdit = nullptr;
    QCheckBox *AllCheckBox = nullptr;
    QLabel *StatusLabel = nullptr;

    void Repaint() override;

    void ApplySettings(const PolarWindowSettings &s);
    PolarWindowSettings CurrentSettings() const;

protected:
    std::string &exportFolder() override { return m_controller->ExportFolder; }

private:
    std::unique_ptr<PolarWindowController> m_controller;
};

} // namespace velmora
