#pragma once
// The training camp: three levels, each with its price.

#include "platform/qt/ecra.h"

class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace gv {

class FrmEstagio : public Ecra {
    Q_OBJECT
public:
    FrmEstagio();
    // The level picked, 1 to 3.
    int nivel() const;

protected:
    void Form_Load() override;
    void Form_Paint() override;

private:
    void Command1_Click();

    QGroupBox* Frame1;
    QRadioButton *Option1, *Option2, *Option3;
    QLabel *Label1, *Label2, *Label3, *Label4;
    QPushButton *Command1, *Command2;
};

} // namespace gv
