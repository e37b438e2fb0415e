// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "geometry/redistribute.h"

#include <QDialog>

class QLineEdit;
class QRadioButton;

namespace velmora {

// "Punkte neu verteilen Poly 3'": number of coordinates and x distribution
// for the cubic redistribution. Keeps its settings between openings.
class TForm4 : public QDialog
{
    Q_OBJECT
public:
    explicit TForm4(QWidget *parent = nullptr);

    QLineEdit *Edit1 = nullptr;
    QRadioButton *RadioButton6 = nullptr; // "Linear"
    QRadioButton *RadioButton3 = nullptr; // "Sin vorne"
    QRadioButton *RadioButton4 = nullptr; // "Sin hinten"
    QRadioButton *RadioButton5 = nullptr; // "Cos"

    StationDistribution distribution() const;

    // Every opening centres the dialog on the screen (the frame included),
    // so it neither follows the main window nor creeps down by its title bar.
    void setVisible(bool visible) override;
};

} // namespace velmora
