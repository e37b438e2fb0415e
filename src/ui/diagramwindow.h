// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/windowplace.h"

#include "app/diagrampanel.h"
#include "ui/diagramcanvas.h"

#include <QWidget>

#include <functional>
#include <string>

namespace velmora {

// A top-level window of diagrams (polars, boundary layer): the message box,
// the save dialog and PNG output its controller asks for, and the canvas
// wired to the controller's mouse and zoom.
class DiagramWindow : public QWidget, public DiagramView
{
    Q_OBJECT
public:
    explicit DiagramWindow(QWidget *parent = nullptr);

    DiagramCanvas *Canvas = nullptr;

    // Asks the owner for a new computation (inputs of the window changed,
    // the window was shown).
    std::function<void()> RefreshRequested;

    // DiagramView (Repaint stays with the window)
    void ShowInfo(const std::string &text) override;
    std::optional<std::string> ChooseSaveFile(const FileDialogSetup &setup, const std::string &folder,
                                              const std::string &proposedName) override;
    bool WritePng(const DiagramScene &scene, const std::string &path) override;

    // Place and size as a settings file keeps them (shown state and profile
    // switch are the caller's); sizes below 400 x 300 grow to it.
    void applyPlace(const WindowPlace &place);
    WindowPlace currentPlace() const;

protected:
    // Where the controller starts its save dialogs; the chosen file's folder goes there.
    virtual std::string &exportFolder() = 0;

    // Showing lays the diagrams out for the canvas, marks the controller
    // visible and asks for a computation; hiding marks it hidden.
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

    // Canvas -> controller: scene, size, mouse, drag zoom, right-drag pan, wheel zoom.
    template <class Controller>
    void wireCanvas(Controller &c)
    {
        m_panel = &c.Panel();
        m_visible = &c.Visible;
        Canvas->Scene = [&c] { return c.Panel().Scene(); };
        Canvas->Resized = [&c](int w, int h) { c.Panel().Layout(w, h); };
        Canvas->MouseMoved = [&c](int x, int y) { c.Panel().MouseMove(x, y); };
        Canvas->MouseLeft = [&c] { c.Panel().MouseLeave(); };
        Canvas->Dragged = [&c](int x0, int y0, int x1, int y1) { c.Panel().Drag(x0, y0, x1, y1); };
        Canvas->Panned = [&c](int x, int y, int dx, int dy) { c.Panel().Pan(x, y, dx, dy); };
        Canvas->Wheeled = [&c](int x, int y, int notches) { c.Panel().ZoomPercent(x, y, notches > 0 ? 105 : 95); };
    }

private:
    DiagramPanel *m_panel = nullptr;
    bool *m_visible = nullptr;
};

} // namespace velmora
