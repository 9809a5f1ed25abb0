// League calendar, cup calendar and the gates of the manager's club.

#include <QComboBox>
#include <QLabel>
#include <QPushButton>

#include <algorithm>

#include "data/esquema.h"
#include "data/estado.h"
#include "platform/qt/grelha.h"
#include "platform/texto.h"
#include "startup/servicos_ecra_qt.h"
#include "stats/ecras_estatisticas.h"
#include "stats/estatisticas.h"

namespace gv {

using namespace Cores_Consulta;

namespace {

QString q(const std::string& s) { return QString::fromStdString(s); }

} // namespace

// ---------------------------------------------------------------- league calendar

FrmCalendario::FrmCalendario() : Ecra_Consulta(QStringLiteral("FrmCalendario")) {
    setFixedSize(640, 560);
    setWindowTitle(QStringLiteral("Calendário (Jogos Campeonato)"));
    Label1 = rotulo("Label1", QStringLiteral("Equipas:"), {16, 14, 70, 24});
    Combo1 = combo("Combo1", {90, 12, 300, 26});
    connect(Combo1, &QComboBox::activated, this, [this](int i) {
        if (auto c = Clube_Do_Item(*Combo1, i); !c.empty()) preencher(c);
    });
    v1 = grelha(QStringLiteral("v1"), {16, 48, 608, 450}, 9);
    const char* cabecalhos[] = {"Jor.", "Class.", "Pts.", "L", "R", " ", "Casa", "Fora", " "};
    const int larguras[] = {40, 48, 40, 24, 24, 26, 170, 170, 26};
    for (int c = 1; c <= 9; ++c) {
        v1->set_Text(c, 0, cabecalhos[c - 1]);
        v1->set_ColWidth(c, larguras[c - 1]);
        if (c != 7 && c != 8) v1->set_alinhamento(c, Qt::AlignCenter);
    }
    v1->set_alinhamento(7, Qt::AlignRight | Qt::AlignVCenter);
    // The opponent's place beside his name: "(18) name", "name (18)".
    v1->alargar_coluna(7, v1->largura_nome(QStringLiteral("(00) ")));
    v1->alargar_coluna(8, v1->largura_nome({}, QStringLiteral(" (00)")));
    Command2 = botao("Command2", QStringLiteral("Jogadores: "), {16, 512, 300, 34});
    connect(Command2, &QPushButton::clicked, this, [this] { Mostrar_Plantel(clube_); });
    botao_ok({520, 512, 104, 34});
    abrir_espaco(*v1, v1->largura_total());
}

void FrmCalendario::Form_Load() {
    Centrar_Form(*this);
    if (ingles()) {
        setWindowTitle(QStringLiteral("Schedule (Championship)"));
        v1->set_Text(1, 0, "Game");
        v1->set_Text(7, 0, "Home");
        v1->set_Text(8, 0, "Away");
        Label1->setText(QStringLiteral("Teams:"));
    }
    Command2->setEnabled(static_cast<bool>(Abrir_Plantel_Clube()));
    try {
        Preencher_Combo_Clubes(*Combo1);
        Combo1->setCurrentIndex(Combo1->findData(q(Clube_Treinador)));
    } catch (const db::Erro_BD&) {
        // The list stays as far as it was filled; the calendar still shows.
    }
    preencher(Clube_Treinador);
}

void FrmCalendario::preencher(const std::string& clube) {
    clube_ = clube;
    Command2->setText(q(txt("Jogadores: ", "Players: ") + clube));
    v1->Limpar();
    std::vector<Jogo_Calendario> jogos;
    try {
        jogos = Calendario_Clube(clube);
    } catch (const db::Erro_BD&) {
        // Nothing to show for this club.
    }
    v1->set_MaxRows(static_cast<int>(jogos.size()));
    for (int r = 1; r <= static_cast<int>(jogos.size()); ++r) {
        const auto& j = jogos[static_cast<std::size_t>(r - 1)];
        v1->set_cor_linha(r, Amarelo);
        v1->set_ForeColor(7, r, Azul);
        v1->set_ForeColor(8, r, Azul);
        v1->set_Text(1, r, std::to_string(j.jor));
        v1->set_Text(4, r, j.letra_local());
        v1->set_Text(7, r, j.texto_casa());
        v1->set_Text(8, r, j.texto_fora());
        if (j.desfecho == Desfecho::Por_Jogar) continue;
        v1->set_Text(6, r, std::to_string(*j.golos_casa));
        v1->set_Text(9, r, std::to_string(*j.golos_fora));
        v1->set_Text(5, r, j.letra_resultado());
        if (j.lugar) v1->set_Text(2, r, std::to_string(*j.lugar));
        if (j.pontos) v1->set_Text(3, r, std::to_string(*j.pontos));
        switch (j.desfecho) {
        case Desfecho::Vitoria_Casa:
            v1->set_BackColor(7, r, Verde_Claro);
            v1->set_BackColor(8, r, Vermelho_Claro);
            v1->set_ForeColor(6, r, Verde);
            v1->set_ForeColor(9, r, Vermelho);
            break;
        case Desfecho::Vitoria_Fora:
            v1->set_BackColor(8, r, Verde_Claro);
            v1->set_BackColor(7, r, Vermelho_Claro);
            v1->set_ForeColor(9, r, Verde);
            v1->set_ForeColor(6, r, Vermelho);
            break;
        default:
            for (int c : {6, 7, 8, 9}) v1->set_ForeColor(c, r, Azul);
            break;
        }
    }
}

// ---------------------------------------------------------------- cup calendar

FrmCalendario_Taca::FrmCalendario_Taca() : Ecra_Consulta(QStringLiteral("FrmCalendario_Taca")) {
    setFixedSize(560, 520);
    setWindowTitle(QStringLiteral("FrmCalendario_Taca"));
    v1 = grelha(QStringLiteral("v1"), {16, 16, 528, 440}, 7);
    v1->set_Text(1, 0, "Casa");
    v1->set_Text(2, 0, "Fora");
    // "(1) home", "away (2)": the division beside the name.
    v1->set_ColWidth(1, std::max(240, v1->largura_nome(QStringLiteral("(0) "))));
    v1->set_ColWidth(2, std::max(240, v1->largura_nome({}, QStringLiteral(" (0)"))));
    v1->set_alinhamento(1, Qt::AlignRight | Qt::AlignVCenter);
    for (int c = 3; c <= 7; ++c) v1->set_ColHidden(c, true);
    botao_ok({440, 470, 104, 34});
    abrir_espaco(*v1, v1->largura_total());
}

void FrmCalendario_Taca::Form_Load() {
    Centrar_Form(*this);
    if (ingles()) {
        v1->set_Text(1, 0, "Home");
        v1->set_Text(2, 0, "Away");
    }
    const auto jogos = Jogos_Taca();
    const int n = static_cast<int>(jogos.size());
    v1->set_MaxRows(n);
    if (auto t = Titulo_Calendario_Taca(n, Eliminatoria_Taca, Epoca_Actual); !t.empty()) setWindowTitle(q(t));
    for (int r = 1; r <= n; ++r) {
        const auto& e = jogos[static_cast<std::size_t>(r - 1)];
        const bool nossa = e.casa == Clube_Treinador || e.fora == Clube_Treinador;
        v1->set_cor_linha(r, nossa ? Laranja : Amarelo);
        v1->set_Text(1, r, e.texto_casa());
        v1->set_Text(2, r, e.texto_fora());
    }
}

// ---------------------------------------------------------------- gates

FrmAssistencias::FrmAssistencias() : Ecra_Consulta(QStringLiteral("FrmAssistencias")) {
    setFixedSize(640, 500);
    setWindowTitle(QStringLiteral("Assistências/Receitas dos Jogos "));
    v1 = grelha(QStringLiteral("v1_1"), {16, 16, 608, 360}, 5);
    const char* cabecalhos[] = {"Jor.", "Jogo (Equipas)", "Tipo Jogo", "Assistência", "Receitas"};
    const int larguras[] = {44, 250, 90, 95, 100};
    for (int c = 1; c <= 5; ++c) {
        v1->set_Text(c, 0, cabecalhos[c - 1]);
        v1->set_ColWidth(c, larguras[c - 1]);
    }
    v1->set_alinhamento(1, Qt::AlignCenter);
    v1->set_alinhamento(4, Qt::AlignRight | Qt::AlignVCenter);
    v1->set_alinhamento(5, Qt::AlignRight | Qt::AlignVCenter);
    // "home-away": two names whole.
    const QString nome = v1->nome_largo();
    v1->alargar_coluna(2, v1->largura_para(nome + QLatin1Char('-') + nome));
    Label1 = rotulo("Label1", QStringLiteral("Receitas (Jogos Campeonato):"), {16, 390, 220, 24});
    Label3 = rotulo("Label3", QString(), {240, 390, 140, 24});
    Label2 = rotulo("Label2", QStringLiteral("Receitas (Jogos Taça):"), {16, 420, 220, 24});
    Label4 = rotulo("Label4", QString(), {240, 420, 140, 24});
    for (QLabel* l : {Label3, Label4}) l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    botao_ok({520, 452, 104, 34});
    abrir_espaco(*v1, v1->largura_total());
}

void FrmAssistencias::Traduzir_Ingles() {
    const char* cabecalhos[] = {"Game", "Match (Teams)", "Competion", "Assistance", "Incoming"};
    for (int c = 1; c <= 5; ++c) v1->set_Text(c, 0, cabecalhos[c - 1]);
    Label1->setText(QStringLiteral("Incoming (Champ. Games):"));
    Label2->setText(QStringLiteral("Incoming (Cup Games):"));
    setWindowTitle(QStringLiteral("Assistance/Incoming"));
}

void FrmAssistencias::Form_Load() {
    Centrar_Form(*this);
    if (ingles()) Traduzir_Ingles();
    Label3->setText(q(formatar_dinheiro(Receitas_Competicao(Tipos_Competicao::Campeonato))));
    Label4->setText(q(formatar_dinheiro(Receitas_Competicao(Tipos_Competicao::Taca))));
    const auto jogos = Assistencias();
    v1->set_MaxRows(static_cast<int>(jogos.size()));
    int r = 1;
    for (const auto& j : jogos) {
        v1->set_cor_linha(r, Amarelo);
        v1->set_Text(1, r, std::to_string(j.jornada));
        v1->set_Text(2, r, j.jogo);
        v1->set_Text(3, r, j.tipo);
        v1->set_Text(4, r, formatar_dinheiro(j.assistencia));
        v1->set_Text(5, r, formatar_dinheiro(j.receita));
        ++r;
    }
}

} // namespace gv
