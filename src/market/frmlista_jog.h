#pragma once
// The players of all the other league clubs, one division, position and
// age band at a time, to buy (at twice their value) or borrow.

#include "market/lista_ecra.h"

class QComboBox;
class QLabel;

namespace gv {

class FrmLista_Jog : public Ecra_Lista_Jogadores {
    Q_OBJECT
public:
    FrmLista_Jog();
    void Traduzir_Ingles();
    // Rebuilds the list from the three filters; `filtro` is the one picked
    // (1 division, 2 position, 3 age band).
    void Refrescar(int filtro);

protected:
    void Form_Load() override;

private:
    QComboBox *Combo1, *Combo2, *Combo3;
    QLabel *Label1, *Label2, *Label3;
};

} // namespace gv
