#pragma once
// A league club's squad, read only: the club named in Clube_Consulta, or
// any other picked in the combo (which then stays in Clube_Consulta).

#include "platform/qt/ecra.h"

class QComboBox;
class QLabel;
class QPushButton;

namespace gv {

class Grelha;

class FrmJogadores_Equipas : public Ecra {
    Q_OBJECT
public:
    FrmJogadores_Equipas();
    void Traduzir_Ingles();

protected:
    void Form_Load() override;
    void Form_Paint() override;
    bool eventFilter(QObject* alvo, QEvent* evento) override;

private:
    void Combo1_Click();
    void Preencher();

    QLabel* Label1;
    QComboBox* Combo1;
    QPushButton* Command1;
    Grelha* v1;
};

} // namespace gv
