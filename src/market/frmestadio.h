#pragma once
// The manager's stadium: its capacity as a gauge against the largest
// allowed, and the purchase of more seats.

#include "platform/qt/ecra.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace gv {

class CaixaImagem;

class FrmEstadio : public Ecra {
    Q_OBJECT
public:
    FrmEstadio();

protected:
    void Form_Load() override;
    void Form_Paint() override;

private:
    void Text2_Change();
    void Command1_Click();

    CaixaImagem* pic1;
    QLineEdit* Text2;
    QLabel *Label1, *Label2, *Label3, *Label4, *Label5, *Label6;
    QPushButton *Command1, *Command2;
};

} // namespace gv
