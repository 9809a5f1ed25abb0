#include "market/frmvenda.h"

#include <QPushButton>

#include "data/estado.h"
#include "platform/qt/grelha.h"
#include "startup/servicos_ecra_qt.h"

namespace gv {

FrmVenda::FrmVenda() : Ecra_Lista_Jogadores(QStringLiteral("FrmVenda"), Lista_Origem::Venda) {
    setFixedSize(780, 520);
    setWindowTitle(QStringLiteral("Transferencias  de Jogadores"));
    v1->setGeometry(10, 10, 760, 450);
    Command2->setGeometry(660, 472, 110, 36);
    acertar_colunas();
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
}

void FrmVenda::Form_Load() {
    Centrar_Form(*this);
    if (ingles()) Traduzir_Ingles();
    Jogadores_Venda();
}

void FrmVenda::Jogadores_Venda() {
    std::vector<Jogador_Listado> lista;
    try {
        lista = gv::Jogadores_Venda();
    } catch (const db::Erro_BD&) {
        // A list that cannot be drawn is an empty list for this matchday.
    }
    mostrar(lista, true);
}

void FrmVenda::Traduzir_Ingles() {
    setWindowTitle(QStringLiteral("Players for Transfer"));
    cabecalhos_ingles();
}

void FrmVenda::Command2_Click() {
    Hide();
    Lista_Venda_Carregada = 1;
}

bool FrmVenda::Form_QueryUnload() {
    // Closing the window keeps the list, as OK does: the matchday has one list.
    Command2_Click();
    return false;
}

std::vector<Jogador_Listado> FrmVenda::por_negociar() const {
    std::vector<Jogador_Listado> r;
    for (int row = 1; row <= static_cast<int>(linhas_.size()); ++row)
        if (!tomado(row)) r.push_back(linhas_[static_cast<std::size_t>(row - 1)]);
    return r;
}

} // namespace gv
