#pragma once
// What the transfer list and the list of all players have in common: the
// nine-column grid of listed players, its popup menu `filem` with
// "Comprar" (`vender`) and "Empréstimo" (`emprestimo`), and the deals on
// the grid's active row. Each grid row stands for the listed player kept
// at the same place in the screen's list, never for the text it shows.

#include <QColor>

#include <vector>

#include "market/compras.h"
#include "market/listas.h"
#include "platform/qt/ecra.h"

class QMenu;
class QPushButton;

namespace gv {

class Grelha;

namespace Cores_Mercado {
inline const QColor Amarelo_Claro{255, 255, 192};
inline const QColor Cinzento{224, 224, 224};   // a row taken by a deal
} // namespace Cores_Mercado

class Ecra_Lista_Jogadores : public Ecra {
    Q_OBJECT
public:
    Grelha& grelha() { return *v1; }
    QMenu& menu_negocios() { return *filem; }
    // The listed player of a grid row (1-based); null outside the list.
    const Jogador_Listado* listado(int row) const;
    // Whether a deal took the row's player already (grey first column).
    bool tomado(int row) const;
    // Runs the popup's deals on the grid's active row.
    void vender_Click();
    void emprestimo_Click();

protected:
    Ecra_Lista_Jogadores(const QString& nome, Lista_Origem origem);
    // Writes the list into the grid; with cores_posicao the first column
    // takes the position's colour.
    void mostrar(const std::vector<Jogador_Listado>& linhas, bool cores_posicao);
    // Names and clubs whole, every column in view; called once the screen
    // has placed its grid.
    void acertar_colunas();
    void cabecalhos_ingles();
    bool eventFilter(QObject* alvo, QEvent* evento) override;
    void Form_Paint() override;

    Grelha* v1;
    QPushButton* Command2;
    QMenu* filem;
    std::vector<Jogador_Listado> linhas_;

private:
    void depois_do_negocio(int row, Resultado_Negocio r);
    Lista_Origem origem_;
};

} // namespace gv
