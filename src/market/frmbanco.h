#pragma once
// The bank: take one loan (tab 0) or repay part of it early (tab 1).

#include "platform/qt/ecra.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;

namespace gv {

class FrmBanco : public Ecra {
    Q_OBJECT
public:
    FrmBanco();
    void Traduzir_Ingles();

protected:
    void Form_Load() override;
    void Form_Paint() override;

private:
    void Recalcular();
    void Command1_Click();
    void Command4_Click();

    QTabWidget* SSTab1;
    QGroupBox *Frame1, *Frame2;
    QLineEdit *Text1, *Text2;
    QComboBox* Combo1;
    QLabel *Label1, *Label2, *Label3, *Label4, *Label5, *Label6, *Label7;
    QPushButton *Command1, *Command2, *Command3, *Command4;
};

} // namespace gv
