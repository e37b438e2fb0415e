// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/boundarylayerwindow.h"
#include "ui/diagramwindow.h"

#include <functional>
#include <memory>

class QCheckBox;
class QLabel;

namespace velmora {

// The boundary-layer window "Grenzschicht": the profile switch and the
// export buttons on top, cp with the outline, thicknesses, H12 and cf, the
// status line with ca, cw, transition and separation.
class BoundaryLayerForm : public DiagramWindow
{
    Q_OBJECT
public:
    explicit BoundaryLayerForm(QWidget *parent = nullptr);
    ~BoundaryLayerForm() override;

    BoundaryLayerWindowController &Controller() { return *m_controller; }

    QCheckBox *AllCheckBox = nullptr;
    QLabel *StatusLabel = nullptr;

    void Repaint() override;

    // Place, size and profile switch from the window's settings file, and back.
    void ApplySettings(const WindowPlace &place);
    WindowPlace CurrentSettings() const;

protected:
    std::string &exportFolder() override { return m_controller->ExportFolder; }

private:
    std::unique_ptr<BoundaryLayerWindowController> m_controller;
};

} // namespace velmora
