#include "season/frmtabelas.h"

#include <QPushButton>
#include <QTabWidget>

#include "data/erros.h"
#include "data/estado.h"
#include "desk/frmdados.h"
#include "platform/interface_utilizador.h"
#include "platform/qt/grelha.h"
#include "platform/qt/navegacao.h"
#include "season/frmfinal_camp.h"
#include "season/resumo.h"
#include "season/situacao.h"
#include "stats/ecra_consulta.h"
#include "startup/frmtiler.h"
#include "startup/servicos_ecra_qt.h"

namespace gv {

namespace {

const QColor Amarelo_Claro{255, 255, 192}, Verde_Claro{192, 255, 192}, Vermelho_Claro{255, 192, 192};
const QColor Cinzento{224, 224, 224}, Azul_Claro{192, 192, 255}, Vermelho{255, 0, 0};

constexpr int Linhas_Tabela = 18;
constexpr int Ultima_Jornada = 34;

// A row's colour by division and place: promotion and relegation zones
// over each division's own colour.
QColor cor_da_linha(int div, int lugar) {
    switch (div) {
    case 1:
        if (lugar == 1) return Verde_Claro;
        if (lugar >= 16) return Vermelho_Claro;
        return Amarelo_Claro;
    case 2:
        if (lugar <= 3) return Verde_Claro;
        if (lugar >= 16) return Vermelho_Claro;
        return Cinzento;
    default:
        if (lugar <= 3) return Verde_Claro;
        return Azul_Claro;
    }
}

} // namespace

FrmTabelas::FrmTabelas() : Ecra(QStringLiteral("FrmTabelas")) {
    setFixedSize(640, 560);
    setWindowTitle(QStringLiteral("Tabelas Classificativas"));
    s1 = new QTabWidget(this);
    s1->setObjectName(QStringLiteral("s1"));
    s1->setGeometry(12, 12, 616, 484);
    const char* const cabecalhos[] = {"Pos ", "Clube", "J", "V ", "E", "D", "Golos", "Pontos"};
    const int larguras[] = {40, 200, 40, 40, 40, 40, 70, 60};
    const char* const separadores[] = {"1ª Divisão", "2ª Divisão", "3ª Divisão"};
    for (int i = 0; i < 3; ++i) {
        auto* g = new Grelha(nullptr, QStringLiteral("v1_%1").arg(i + 1));
        g->set_MaxCols(8);
        g->set_MaxRows(Linhas_Tabela);
        for (int c = 1; c <= 8; ++c) {
            g->set_Text(c, 0, cabecalhos[c - 1]);
            g->set_ColWidth(c, larguras[c - 1]);
            if (c != 2) g->set_alinhamento(c, Qt::AlignCenter);
        }
        g->alargar_coluna(2, g->largura_nome());
        const int div = i + 1;
        connect(g, &Grelha::Click, this, [this, div](int col, int row) { v1_Click(div, col, row); });
        s1->addTab(g, QString::fromUtf8(separadores[i]));
        v1_[static_cast<std::size_t>(i)] = g;
    }
    Command1 = new QPushButton(QStringLiteral("&OK"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setGeometry(260, 510, 120, 34);
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    abrir_espaco(*v1_[0], v1_[0]->largura_total());
}

void FrmTabelas::Form_Load() {
    Centrar_Form(*this);
    if (ingles()) Traduzir_Ingles();
    for (int div = 1; div <= 3; ++div) Preencher(div);
}

void FrmTabelas::Form_Paint() { instancia<frmTiler>().TileForm(*this); }

void FrmTabelas::Traduzir_Ingles() {
    const char* const cabecalhos[] = {"Club", "G", "W", "D", "L", "Gols", "Pts"};
    for (Grelha* g : v1_)
        for (int c = 2; c <= 8; ++c) g->set_Text(c, 0, cabecalhos[c - 2]);
    s1->setTabText(0, QStringLiteral("1st Division"));
    s1->setTabText(1, QStringLiteral("2nd Division"));
    s1->setTabText(2, QStringLiteral("3rd Division"));
    setWindowTitle(QStringLiteral("Championship Tables"));
}

void FrmTabelas::Preencher(int div) {
    Grelha& g = v1(div);
    g.set_MaxCols(8);
    g.set_MaxRows(Linhas_Tabela);
    g.Limpar();
    std::vector<Linha_Classificacao> tabela;
    try {
        tabela = Ler_Classificacao(div);
    } catch (const db::Erro_BD& e) {
        ui().aviso(std::string(txt("Não foi possível ler a classificação.", "The tables could not be read.")) +
                       Linha_Causa(e),
                   Icone::Critico);
        return;
    }
    for (const auto& l : tabela) {
        const int r = l.lugar;
        if (r > g.MaxRows()) g.set_MaxRows(r);
        g.set_cor_linha(r, cor_da_linha(div, r));
        if (l.clube == Clube_Treinador) g.set_ForeColor(-1, r, Vermelho);
        g.set_identidade(r, l.id);
        g.set_Text(1, r, std::to_string(r));
        g.set_Text(2, r, l.clube);
        g.set_Text(3, r, std::to_string(l.jogos));
        g.set_Text(4, r, std::to_string(l.v));
        g.set_Text(5, r, std::to_string(l.e));
        g.set_Text(6, r, std::to_string(l.d));
        g.set_Text(7, r, l.golos());
        g.set_Text(8, r, std::to_string(l.pontos));
    }
}

void FrmTabelas::v1_Click(int div, int /*col*/, int row) {
    if (row < 1) return;
    Grelha& g = v1(div);
    g.set_celula_activa(2, row);
    // The club whose squad the squad screen shows.
    Clube_Consulta = g.texto(2, row);
    Mostrar_Plantel(Clube_Consulta);
}

void FrmTabelas::Ver_Situacao() { gv::Ver_Situacao(); }

void FrmTabelas::Command1_Click() {
    if (Tabelas_Modo_Consulta != 0) {
        // A view from the menu: kept loaded, shown again as it is.
        Hide();
        return;
    }
    Unload();
    Lista_Venda_Carregada = 0;
    if (Jornada_Actual > Ultima_Jornada) {
        Navegacao::passar_para<FrmFinal_Camp>();
        return;
    }
    if (Jogo_Real == 1) Ver_Situacao();
    Navegacao::passar_para<FrmDados>();
}

bool FrmTabelas::Form_QueryUnload() {
    // In the matchday flow closing the window goes on as OK does.
    if (Tabelas_Modo_Consulta == 0) Command1_Click();
    return true;
}

void Abrir_Tabelas_Consulta() {
    if (Tabelas_Modo_Consulta == 0) {
        Tabelas_Modo_Consulta = 1;
        descarregar<FrmTabelas>();
    }
    instancia<FrmTabelas>().Show_Modal();
}

} // namespace gv
