#pragma once
// The matchday's transfer list. Its load draws the list; its OK hides it
// (the list stays for the rest of the matchday) and the next-match button
// lets the computer clubs buy from it before unloading it.

#include <vector>

#include "market/lista_ecra.h"

namespace gv {

class FrmVenda : public Ecra_Lista_Jogadores {
    Q_OBJECT
public:
    FrmVenda();
    void Jogadores_Venda();
    void Traduzir_Ingles();
    void Command2_Click();
    // The rows no deal of the manager took, for the computer clubs.
    std::vector<Jogador_Listado> por_negociar() const;

protected:
    void Form_Load() override;
    bool Form_QueryUnload() override;
};

} // namespace gv
