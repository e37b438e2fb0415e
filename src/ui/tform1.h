// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/maincontroller.h"
#include "app/mainview.h"

#include <QMainWindow>

#include <memory>

class QAction;
class QCheckBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QSplitter;
class QToolButton;

namespace velmora {

class ChartWidget;
class CheckListBox;
class CoordinateWindow;
class DesignCommands;
class QtDesignView;
class EditField;
class TForm4;
class QtFormResizer;
class WheelStepSample;

// The main window "Velmora ": menu, profile list beside the plot, control
// panel below, status bar. It forwards every event to the MainController
// and shows what the controller asks for through MainView.
class TForm1 : public QMainWindow, public MainView
{
    Q_OBJECT
public:
    explicit TForm1(const QString &programFolder, QWidget *parent = nullptr);
    ~TForm1() override;

    MainController &Controller() { return *m_controller; }
    // The smallest size at which every caption is readable and whole.
    static constexpr int kMinimumWidth = 911;
    static constexpr int kMinimumHeight = 643;
    // Where the help documents and the samples lie: the program folder, or
    // share/velmora of an installed program.
    QString DataFolder;
    // An installed program: the file dialogs offer the samples folder.
    bool Installed = false;
    CheckListBox *CheckListBox1 = nullptr;
    ChartWidget *Chart1 = nullptr;
    EditField *Edit1 = nullptr;
    EditField *Edit2 = nullptr;
    QLineEdit *Edit4 = nullptr;
    QLineEdit *Edit5 = nullptr;
    QToolButton *SpeedButton1 = nullptr;
    QToolButton *SpeedButton2 = nullptr;
    QToolButton *SpeedButton3 = nullptr;
    QToolButton *SpeedButton4 = nullptr;
    QCheckBox *CheckBox1 = nullptr;
    QCheckBox *CheckBox2 = nullptr;
    QCheckBox *CheckBox3 = nullptr;
    QCheckBox *CheckBox7 = nullptr;
    QCheckBox *CheckBox8 = nullptr;
    QPushButton *Button6 = nullptr;
    QPushButton *Button7 = nullptr;
    QRadioButton *RadioButton1 = nullptr;
    QRadioButton *RadioButton2 = nullptr;
    WheelStepSample *PaintBox1 = nullptr;
    // "v-Verteilung"
    QCheckBox *CheckBox4 = nullptr;
    EditField *Edit6 = nullptr;
    EditField *Edit7 = nullptr;
    QLineEdit *Edit8 = nullptr;
    QLineEdit *Edit9 = nullptr;
    QLineEdit *Edit10 = nullptr;
    QSpinBox *SpinEdit1 = nullptr;
    QSpinBox *SpinEdit2 = nullptr;
    // "Umschlag"
    QCheckBox *CheckBox5 = nullptr;
    QCheckBox *CheckBox6 = nullptr;
    EditField *Edit11 = nullptr;
    EditField *Edit12 = nullptr;
    EditField *Edit13 = nullptr;
    QSpinBox *SpinEdit3 = nullptr;
    QSpinBox *SpinEdit4 = nullptr;
    // "v\Um Sichtbar"
    QRadioButton *RadioButton5 = nullptr;
    QRadioButton *RadioButton6 = nullptr;
    QRadioButton *RadioButton7 = nullptr;
    QSplitter *Splitter1 = nullptr;
    QLabel *StatusPanel0 = nullptr;
    QLabel *StatusPanel1 = nullptr;

    // Hook for the profile information window.
    void setProfileInfoRefresh(std::function<void()> refresh);
    // "Info" shows this window modally.
    void setInfoWindow(QWidget *window) { m_infoWindow = window; }
    void setProfileInfoWindow(QWidget *window) { m_profileInfoWindow = window; }
    void setRedistributionDialog(TForm4 *dialog) { m_redistributionDialog = dialog; }
    // "Ansicht" > "Fenster Polaren".
    std::function<void()> ShowPolarWindow;
    // "Ansicht" > "Fenster Grenzschicht".
    std::function<void()> ShowBoundaryLayerWindow;

    // MainView
    void ShowInfo(const std::string &text) override;
    bool AskYesNo(const std::string &text) override;
    void ShowError(const std::string &text) override;
    std::vector<std::string> ChooseOpenFiles(const FileDialogSetup &setup, const std::string &folder) override;
    std::optional<std::string> ChooseSaveFile(const FileDialogSetup &setup, const std::string &folder,
                                              const std::string &proposedName) override;
    std::optional<TColor> ChooseColour(TColor initial) override;
    std::optional<std::string> AskText(const std::string &caption, const std::string &prompt,
                                       const std::string &preset) override;
    void ShowRedistributionDialog(
        const std::function<bool(const std::string &, StationDistribution)> &accept) override;
    void RepaintList() override;
    void RedrawPlot() override;
    void SetNameTitleFields(const std::string &name, const std::string &title) override;
    void SetStatusText(int panel, const std::string &text) override;
    void SetMenuEnabled(MenuEntry entry, bool enabled) override;
    void CloseMainWindow() override;
    void SetListEnabled(bool enabled) override;
    void SetActivePointFields(const std::string &x, const std::string &y) override;
    void ActivePointChanged() override;
    void SetResultFields(const std::string &ca, const std::string &cm, const std::string &cw) override;
    void SetPolarFieldAlarm(PolarField field, bool alarm) override;
    void FocusPolarField(PolarField field) override;

signals:
    // The window closed for good (the close question was answered).
    void closed();

protected:
    void closeEvent(QCloseEvent *event) override;
    // Files dropped on the window open as if named on the command line.
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    // F4 is tracked and the wheel taken wherever they happen in this window.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildMenus();
    QWidget *buildPanel();
    void buildAnalysisBoxes(QWidget *panel);
    EditField *polarField(PolarField field) const;
    void runGuarded(const std::function<void()> &command);
    void changeWheelStep(int delta);
    void OpenHelpDocument(const QString &document);

    std::unique_ptr<MainController> m_controller;
    std::unique_ptr<QtDesignView> m_designView;
    std::unique_ptr<DesignCommands> m_design;
    CoordinateWindow *m_coordinateWindow = nullptr;
    QAction *m_insertClipboardLowerSide = nullptr;
    QAction *m_undoAction = nullptr;
    QAction *m_redoAction = nullptr;
    // Captions name the steps; entries are disabled when there is none.
    void updateUndoActions();
    void updateTitle();
    // A German tip on every control of the panel, the list and the plot buttons.
    void applyToolTips();
    QWidget *m_infoWindow = nullptr;
    QWidget *m_profileInfoWindow = nullptr;
    TForm4 *m_redistributionDialog = nullptr;
    bool m_f4Held = false;
    bool m_keyPreview = true;
    // F1 to F3 act on the window; typing into a field turns that off until
    // the field is left or the mouse moves over the plot. True when handled.
    bool previewKey(QObject *target, const QKeyEvent *key);
    QWidget *m_panel = nullptr;
    bool m_listHadFocus = false;
    QtFormResizer *m_resizer = nullptr;
    // Records the layout for proportional scaling; after the splitter was
    // moved the fonts keep their sizes.
    void captureLayout(bool scaleFonts);
};

} // namespace velmora
