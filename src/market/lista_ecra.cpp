#include "market/lista_ecra.h"

#include <QAction>
#include <QCursor>
#include <QEvent>
#include <QMenu>
#include <QPushButton>
#include <QTableWidget>

#include "desk/frmdados.h"
#include "market/abrir_mercado.h"
#include "platform/qt/grelha.h"
#include "startup/frmtiler.h"

namespace gv {

namespace {

const char* const Cabecalhos_PT[] = {"P", "Nome ", "Clube", "Idade", "Força ", "Golos", "Contr.", "Preço Venda",
                                     "Preço Emprestimo"};
const char* const Cabecalhos_EN[] = {"Assi.", "Name", "Club", "Age", "Value", "Gols", "Contr.", "Sell Price",
                                     "Loan Price"};

std::string ou_traco(long v) { return v < 0 ? "-" : std::to_string(v); }

} // namespace

Ecra_Lista_Jogadores::Ecra_Lista_Jogadores(const QString& nome, Lista_Origem origem)
    : Ecra(nome), origem_(origem) {
    v1 = new Grelha(this, QStringLiteral("v1"));
    v1->set_MaxCols(9);
    for (int c = 1; c <= 9; ++c) v1->set_Text(c, 0, Cabecalhos_PT[c - 1]);
    const int larguras[] = {36, 150, 130, 44, 48, 44, 44, 96, 110};
    for (int c = 1; c <= 9; ++c) v1->set_ColWidth(c, larguras[c - 1]);
    for (int c = 4; c <= 9; ++c) v1->set_alinhamento(c, Qt::AlignRight | Qt::AlignVCenter);
    v1->tabela().installEventFilter(this);
    connect(v1, &Grelha::DblClick, this, [this](int col, int row) {
        if (row < 1 || row > v1->MaxRows()) return;
        v1->set_celula_activa(col < 1 ? 1 : col, row);
        filem->popup(QCursor::pos());
    });

    Command2 = new QPushButton(QStringLiteral("&Ok"), this);
    Command2->setObjectName(QStringLiteral("Command2"));

    // The grid's popup; never in a menu bar, captions Portuguese in both languages.
    filem = new QMenu(QStringLiteral("Filem"), this);
    filem->setObjectName(QStringLiteral("filem"));
    QAction* vender = filem->addAction(QStringLiteral("Comprar"));
    vender->setObjectName(QStringLiteral("vender"));
    QAction* emprestimo = filem->addAction(QString::fromUtf8("Empréstimo"));
    emprestimo->setObjectName(QStringLiteral("emprestimo"));
    connect(vender, &QAction::triggered, this, [this] { vender_Click(); });
    connect(emprestimo, &QAction::triggered, this, [this] { emprestimo_Click(); });
}

void Ecra_Lista_Jogadores::acertar_colunas() {
    v1->set_ColWidth(2, v1->largura_nome());
    v1->set_ColWidth(3, v1->largura_nome());
    v1->acertar_cabecalhos();
    abrir_espaco(*v1, v1->largura_total());
}

const Jogador_Listado* Ecra_Lista_Jogadores::listado(int row) const {
    if (row < 1 || row > static_cast<int>(linhas_.size()) || row > v1->MaxRows()) return nullptr;
    return &linhas_[static_cast<std::size_t>(row - 1)];
}

bool Ecra_Lista_Jogadores::tomado(int row) const { return v1->BackColor(1, row) == Cores_Mercado::Cinzento; }

void Ecra_Lista_Jogadores::mostrar(const std::vector<Jogador_Listado>& linhas, bool cores_posicao) {
    linhas_ = linhas;
    v1->Limpar();
    v1->set_MaxCols(9);
    v1->set_MaxRows(static_cast<int>(linhas_.size()));
    int r = 1;
    for (const Jogador_Listado& j : linhas_) {
        v1->set_cor_linha(r, Cores_Mercado::Amarelo_Claro);
        if (cores_posicao) {
            v1->set_ForeColor(1, r, Qt::white);
            v1->set_BackColor(1, r, Cores_Secretaria::da_posicao(j.pos));
        }
        v1->set_identidade(r, j.rowid);
        v1->set_Text(1, r, j.pos);
        v1->set_Text(2, r, j.nome);
        v1->set_Text(3, r, j.clube);
        v1->set_Text(4, r, std::to_string(j.idade));
        v1->set_Text(5, r, std::to_string(j.forca));
        v1->set_Text(6, r, ou_traco(j.golos));
        v1->set_Text(7, r, ou_traco(j.contrato));
        v1->set_Text(8, r, std::to_string(j.preco));
        v1->set_Text(9, r, ou_traco(j.taxa));
        ++r;
    }
}

void Ecra_Lista_Jogadores::cabecalhos_ingles() {
    for (int c = 1; c <= 9; ++c) v1->set_Text(c, 0, Cabecalhos_EN[c - 1]);
}

bool Ecra_Lista_Jogadores::eventFilter(QObject* alvo, QEvent* evento) {
    // Nothing is typed into the grid or the filters: a value is only picked.
    if (evento->type() == QEvent::KeyPress && alvo != this) return true;
    return Ecra::eventFilter(alvo, evento);
}

void Ecra_Lista_Jogadores::Form_Paint() { instancia<frmTiler>().TileForm(*this); }

void Ecra_Lista_Jogadores::vender_Click() {
    const int r = v1->ActiveRow();
    const Jogador_Listado* j = listado(r);
    if (!j) return;
    if (tomado(r)) {
        Aviso_Ja_Transferido(origem_, false);
        return;
    }
    const Jogador_Listado copia = *j;
    depois_do_negocio(r, Comprar_Jogador_Listado(copia, origem_));
}

void Ecra_Lista_Jogadores::emprestimo_Click() {
    const int r = v1->ActiveRow();
    const Jogador_Listado* j = listado(r);
    if (!j) return;
    if (tomado(r)) {
        Aviso_Ja_Transferido(origem_, true);
        return;
    }
    const Jogador_Listado copia = *j;
    depois_do_negocio(r, Pedir_Emprestado_Listado(copia, origem_));
}

void Ecra_Lista_Jogadores::depois_do_negocio(int row, Resultado_Negocio r) {
    if (r != Resultado_Negocio::Feito) return;
    v1->set_cor_linha(row, Cores_Mercado::Cinzento);
    Refrescar_Secretaria();
}

} // namespace gv
