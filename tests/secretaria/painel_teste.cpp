// What the desk shows: finance figures, next match and ticket price, trend,
// runs, coach performance, the contract warning and the caption.

#include "data/carreira.h"
#include "data/financas.h"
#include "data/liga.h"
#include "desk/secretaria.h"
#include "jogo_apoio.h"
#include "platform/texto.h"

using namespace gv;

namespace {

class Painel : public teste::Com_Mestra {
protected:
    void SetUp() override {
        Com_Mestra::SetUp();
        novo_jogo_pt();
    }
    // Makes the manager's club play at home (or away) on the current matchday.
    void jogo_da_jornada(bool em_casa) {
        auto rs = Base_Dados->OpenRecordset("SELECT rowid, casa, fora FROM jogos WHERE jor = ? AND (casa = ? OR fora = ?)",
                                            {Jornada_Actual, Clube_Treinador, Clube_Treinador});
        ASSERT_FALSE(rs.Eof());
        bool casa = rs["casa"].texto() == Clube_Treinador;
        if (casa != em_casa)
            Base_Dados->Execute("UPDATE jogos SET casa = fora, fora = casa WHERE rowid = ?", {rs.rowid()});
    }
    void mudar_divisao(int div) {
        Base_Dados->Execute("UPDATE clubes SET div = ? WHERE clube = ?", {div, Clube_Treinador});
    }
    void eliminatoria_com(const std::string& adversario, bool em_casa) {
        Base_Dados->Execute("DELETE FROM jogos_taca");
        Base_Dados->Execute("INSERT INTO jogos_taca (casa, fora) VALUES (?, ?)",
                            {em_casa ? Clube_Treinador : adversario, em_casa ? adversario : Clube_Treinador});
    }
};

TEST_F(Painel, FinanceFiguresAndPlayerCounts) {
    Base_Dados->Execute("UPDATE principal SET d_in = 2500000, d_out = 999");
    auto p = Calcular_Painel_Financas();
    EXPECT_EQ(p.liquido, 2499001);
    EXPECT_EQ(p.saldo, 2000000);
    EXPECT_EQ(p.ordenados, Total_Ordenados());
    int a = contar("SELECT count(*) FROM jogadores WHERE equipa = ?", {Clube_Treinador});
    // Three players lent out elsewhere.
    Base_Dados->Execute("UPDATE jogadores SET clube_origem = ?, equipa = 'Outro' WHERE rowid IN "
                        "(SELECT rowid FROM jogadores WHERE equipa = ? LIMIT 3)", {Clube_Treinador, Clube_Treinador});
    p = Calcular_Painel_Financas();
    EXPECT_EQ(p.jogadores, "Nº Jogadores: " + std::to_string(a - 3) + " + 3 = " + std::to_string(a));
    long c = contar("SELECT sum(preco) FROM jogadores WHERE equipa = ?", {Clube_Treinador});
    long d = contar("SELECT sum(preco) FROM jogadores WHERE clube_origem = ?", {Clube_Treinador});
    EXPECT_EQ(p.valores, "Valor Jogadores: " + formatar_dinheiro(c) + " + " + formatar_dinheiro(d) + " = " +
                             formatar_dinheiro(c + d));
    Lingua = "I";
    auto en = Calcular_Painel_Financas();
    const std::string pt = "Nº Jogadores: ", ing = "Nº Players: ";
    EXPECT_EQ(en.jogadores.substr(0, ing.size()), ing);
    EXPECT_EQ(en.jogadores.substr(ing.size()), p.jogadores.substr(pt.size())) << "only the prefix changes";
    EXPECT_EQ(en.valores.rfind("Players Price: ", 0), 0u);
}

TEST_F(Painel, TicketPriceByDivisionAndVenue) {
    struct Caso {
        int div;
        bool casa;
        int milesimas, inteiro;
        const char* texto;
    };
    for (const Caso& c : {Caso{1, true, 4500, 4, "4.500"}, Caso{2, true, 3500, 4, "3.500"}, Caso{3, true, 3000, 3, "3.000"},
                          Caso{1, false, 0, 0, ""}, Caso{3, false, 0, 0, ""}}) {
        mudar_divisao(c.div);
        jogo_da_jornada(c.casa);
        auto p = Actualizar_Equipas_Jogo();
        EXPECT_EQ(p.mostra_preco, c.casa);
        EXPECT_EQ(p.preco_milesimas, c.milesimas);
        EXPECT_EQ(p.preco_bilhete, c.inteiro) << "division " << c.div;
        if (c.casa) {
            EXPECT_EQ(formatar_preco_bilhete(p.preco_milesimas), c.texto);
        }
        EXPECT_EQ(Jogo_Em_Casa, c.casa ? 1 : 0);
        EXPECT_EQ(p.jogo.rfind(c.casa ? "CASA - " : "FORA - ", 0), 0u) << p.jogo;
        EXPECT_NE(p.jogo.find(Adversario), std::string::npos);
    }
}

TEST_F(Painel, CupDayPanelPriceAndOpponent) {
    std::string so_taca = Base_Dados->valor("SELECT clube FROM clubes_taca WHERE clube NOT IN (SELECT clube FROM clubes)").texto();
    for (int ronda = 1; ronda <= 6; ++ronda) {
        Jornada_Actual = 5 * ronda;
        Eliminatoria_Taca = ronda;
        jogo_da_jornada(false);
        eliminatoria_com(so_taca, true);
        auto p = Actualizar_Equipas_Jogo();
        EXPECT_EQ(p.preco_bilhete, 2 + 2 * ronda);
        EXPECT_TRUE(p.mostra_preco) << "the cup price shows whatever the venue";
        EXPECT_EQ(p.jogo, "TAÇA CASA - " + so_taca + " (0ª Div.)");
        EXPECT_EQ(Adversario, so_taca);
        EXPECT_EQ(p.titulo_taca, "Ecran Principal - Dados Gerais - Taça Golvantario");
    }
    EXPECT_EQ(Equipa_Taca(), so_taca);
    EXPECT_EQ(Local_Taca(), "CASA");
    Lingua = "I";
    eliminatoria_com(so_taca, false);
    EXPECT_EQ(Actualizar_Equipas_Jogo().jogo, "CUP FORA - " + so_taca + " (0ª Div.)");
    Base_Dados->Execute("DELETE FROM jogos_taca");
    auto fora = Actualizar_Equipas_Jogo();
    EXPECT_EQ(fora.jogo, "CUP Golvantario");
    EXPECT_EQ(Adversario, "0");
    EXPECT_EQ(Equipa_Taca(), "0");
    EXPECT_EQ(Local_Taca(), "0");
    EXPECT_EQ(fora.preco_bilhete, 14);
}

TEST_F(Painel, CupRoundOutOfStepGivesTheLeaguePanel) {
    Jornada_Actual = 10;
    Eliminatoria_Taca = 1;
    jogo_da_jornada(true);
    auto p = Actualizar_Equipas_Jogo();
    EXPECT_EQ(p.jogo.rfind("CASA - ", 0), 0u);
    EXPECT_TRUE(p.titulo_taca.empty());
}

TEST_F(Painel, CoachPerformanceGaugeIsClamped) {
    struct Caso {
        int sit, valor;
        float fraccao;
        const char* texto;
    };
    for (const Caso& c : {Caso{45, 40, 1.0f, "Desempenho Treinador: 100%"}, Caso{-3, 0, 0.0f, "Desempenho Treinador: 0%"},
                          Caso{21, 21, 0.525f, "Desempenho Treinador: 52.5%"}, Caso{20, 20, 0.5f, "Desempenho Treinador: 50%"}}) {
        Base_Dados->Execute("UPDATE principal SET sit = ?", {c.sit});
        auto d = Desempenho_Treinador();
        EXPECT_EQ(d.valor, c.valor);
        EXPECT_FLOAT_EQ(d.fraccao, c.fraccao);
        EXPECT_EQ(d.texto, c.texto);
    }
}

TEST_F(Painel, RunCaptionsShowRunsLongerThanOne) {
    Zerar_V_E_D_GC_PC();
    Registar_Resultado_V_E_D_GC_PC(1, 0);
    auto s = Act_V_E_D_GC_PC();
    EXPECT_EQ(s.vitorias_empates_derrotas, "") << "a run of one is not shown";
    EXPECT_EQ(s.sem_perder_ganhar, "1 Jogo(s) sem Perder");
    Registar_Resultado_V_E_D_GC_PC(2, 1);
    EXPECT_EQ(Act_V_E_D_GC_PC().vitorias_empates_derrotas, "2 Vitórias Consecutivas");
    Registar_Resultado_V_E_D_GC_PC(0, 1);
    Registar_Resultado_V_E_D_GC_PC(0, 2);
    Lingua = "I";
    s = Act_V_E_D_GC_PC();
    EXPECT_EQ(s.vitorias_empates_derrotas, "2 Consecutive Loses");
    EXPECT_EQ(s.sem_perder_ganhar, "2 Game(s) without Win");
}

TEST_F(Painel, LeagueTrendComparesTheLastTwoRounds) {
    auto lugar = [&](int jor, int pos) {
        Base_Dados->Execute("INSERT INTO Historico_Jornadas (jor, clube, pontos, pos) VALUES (?, ?, 0, ?)",
                            {jor, Clube_Treinador, pos});
    };
    lugar(1, 5);
    lugar(2, 7);
    lugar(3, 2);
    Jornada_Actual = 3;
    EXPECT_EQ(Evolucao_Jor(), -1);
    Jornada_Actual = 4;
    EXPECT_EQ(Evolucao_Jor(), 1);
    lugar(4, 2);
    Jornada_Actual = 5;
    EXPECT_EQ(Evolucao_Jor(), 0);
}

TEST_F(Painel, ContractWarningFromMatchdayThirtyTwo) {
    Base_Dados->Execute("UPDATE jogadores SET contrato = 2 WHERE equipa = ?", {Clube_Treinador});
    Base_Dados->Execute("UPDATE jogadores SET contrato = 1 WHERE rowid IN (SELECT rowid FROM jogadores WHERE equipa = ? LIMIT 3)",
                        {Clube_Treinador});
    Jornada_Actual = 31;
    EXPECT_EQ(Aviso_Contratos(), "");
    Jornada_Actual = 32;
    EXPECT_EQ(Aviso_Contratos(), "ATENÇÃO. Existem 3 jogador(es) em fim de contrato.");
    Lingua = "I";
    Jornada_Actual = 34;
    EXPECT_EQ(Aviso_Contratos(), "ATENTION. There are 3 player(s) with the contract reaching the end.");
}

TEST_F(Painel, CaptionsAndStatusTexts) {
    Jornada_Actual = 5;
    EXPECT_EQ(Titulo_Secretaria(), "Golvantario  - 5 ª Jornada - 1999 - Manuel Tester");
    Lingua = "I";
    EXPECT_EQ(Titulo_Secretaria(), "Golvantario  - 5  Match - 1999 - Manuel Tester");
    EXPECT_EQ(Texto_Modo_Jogo(), "[Real Game]");
    EXPECT_EQ(Texto_Divisao(), "1º Division");
    EXPECT_EQ(Texto_Contrato(), "[2 Year(s) Contract]");
    Lingua = "P";
    Jogo_Real = 0;
    EXPECT_EQ(Texto_Modo_Jogo(), "[Jogo Contínuo]");
    EXPECT_EQ(Texto_Divisao(), "1ª Divisão");
}

} // namespace
