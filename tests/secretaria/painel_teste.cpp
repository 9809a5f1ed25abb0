// What the desk shows and pays: the ledger, the wages and the bank
// instalment; finance figures, next match and ticket price, trend, runs,
// coach performance, the contract warning and the caption.

#include "../mercado/apoio_mercado.h"
#include "data/carreira.h"
#include "data/clubes.h"
#include "data/financas.h"
#include "data/liga.h"
#include "desk/secretaria.h"
#include "platform/texto.h"

namespace gv {
namespace {

class Painel : public teste::Com_Jogo {
protected:
    void SetUp() override {
        Com_Jogo::SetUp();
        registar_painel_financas([this] { ++refrescos; });
    }
    void TearDown() override {
        registar_painel_financas({});
        Com_Jogo::TearDown();
    }
    // One matchday's instalment: a fresh desk visit, then the step.
    void prestacao() {
        Prestacao_Paga = 0;
        Pagar_Prestacao_Emprestimo();
    }
    // Makes the manager's club play at home (or away) on the current matchday.
    void jogo_da_jornada(bool em_casa) {
        auto rs = Base_Dados->OpenRecordset("SELECT rowid, casa FROM jogos WHERE jor = ? AND (casa = ? OR fora = ?)",
                                            {Jornada_Actual, Clube_Treinador, Clube_Treinador});
        ASSERT_FALSE(rs.Eof());
        if ((rs["casa"].texto() == Clube_Treinador) != em_casa)
            sql("UPDATE jogos SET casa = fora, fora = casa WHERE rowid = ?", {rs.rowid()});
    }
    void eliminatoria_com(const std::string& adversario, bool em_casa) {
        sql("DELETE FROM jogos_taca");
        sql("INSERT INTO jogos_taca (casa, fora) VALUES (?, ?)",
            {em_casa ? Clube_Treinador : adversario, em_casa ? adversario : Clube_Treinador});
    }
    int refrescos = 0;
};

TEST_F(Painel, EveryCodeMovesBalanceTotalsAndItsOwnColumn) {
    // Unknown codes, case counting, post nothing.
    struct Caso { const char* tipo; int sinal; const char* coluna; };
    for (const Caso& c : {Caso{"-", -1, nullptr}, Caso{"+", 1, nullptr}, Caso{"E-", -1, "d_emp_out"}, Caso{"E+", 1, "d_emp_in"},
                          Caso{"V-", -1, "d_venda_out"}, Caso{"V+", 1, "d_venda_in"}, Caso{"O-", -1, "d_Ord"},
                          Caso{"S+", 1, "d_estadio"}, Caso{"X", 0, nullptr}, Caso{"v+", 0, nullptr}}) {
        const long saldo = principal("d_total"), in = principal("d_in"), out = principal("d_out");
        const long antes = c.coluna ? principal(c.coluna) : 0;
        EXPECT_EQ(Movimento_Financeiro(c.tipo, 1000), saldo + c.sinal * 1000) << c.tipo;
        EXPECT_EQ(principal("d_total"), saldo + c.sinal * 1000) << c.tipo;
        EXPECT_EQ(principal("d_in") - in, c.sinal > 0 ? 1000 : 0) << c.tipo;
        EXPECT_EQ(principal("d_out") - out, c.sinal < 0 ? 1000 : 0) << c.tipo;
        if (c.coluna) {
            EXPECT_EQ(principal(c.coluna) - antes, 1000) << c.tipo;
        }
    }
    // A negative amount posts as written.
    const long saldo = principal("d_total"), in = principal("d_in");
    EXPECT_EQ(Movimento_Financeiro("+", -5), saldo - 5);
    EXPECT_EQ(principal("d_in"), in - 5);
}

TEST_F(Painel, WagesArePaidOnEveryFourthLeagueRound) {
    sql("UPDATE jogadores SET ordenado = 0 WHERE equipa = ?", {Clube_Treinador});
    sql("UPDATE jogadores SET ordenado = 123456 WHERE rowid = (SELECT min(rowid) FROM jogadores WHERE equipa = ?)", {Clube_Treinador});
    ASSERT_EQ(Total_Ordenados(), 123456);
    for (int ronda = 1; ronda <= 3; ++ronda) {
        Pagar_Ordenados();
        EXPECT_EQ(linha("SELECT cont, d_total FROM principal"), std::to_string(ronda) + "|2000000");
    }
    EXPECT_TRUE(porta.mensagens.empty());
    Pagar_Ordenados();
    EXPECT_EQ(linha("SELECT cont, d_Ord, d_total FROM principal"), "0|123456|1876544");
    ASSERT_EQ(porta.mensagens.size(), 1u);
    EXPECT_EQ(porta.mensagens[0].texto, "Ordenados Pagos: 123,456");
    EXPECT_EQ(porta.mensagens[0].icone, Icone::Informacao);
    sql("DELETE FROM jogadores WHERE equipa = ?", {Clube_Treinador});
    EXPECT_EQ(Total_Ordenados(), 0) << "a club without players has no wage bill";
}

// The instalment is cleared on the matchday that over-pays, the excess
// coming back; money out grows by exactly what left.
TEST_F(Painel, InstalmentsPayTheLoanDownOncePerDeskVisit) {
    struct Caso { long divida; int vezes; const char* depois; };   // balance, money out, debt, instalment
    for (const Caso& c : {Caso{100000, 1, "-60000|60000|40000|60000"}, Caso{100000, 2, "-100000|100000|0|0"},
                          Caso{120000, 2, "-120000|120000|0|60000"}, Caso{120000, 3, "-120000|120000|0|0"}}) {
        sql("UPDATE principal SET d_total = 0, d_out = 0, d_b_divida = ?, d_b_mensal = 60000", {c.divida});
        for (int i = 0; i < c.vezes; ++i) prestacao();
        EXPECT_EQ(linha("SELECT d_total, d_out, d_b_divida, d_b_mensal FROM principal"), c.depois) << c.divida;
    }
    EXPECT_TRUE(porta.mensagens.empty());
    EXPECT_EQ(refrescos, 8) << "the panel is refreshed on every run";
    sql("UPDATE principal SET d_b_divida = 100000, d_b_mensal = 30000");
    prestacao();
    Pagar_Prestacao_Emprestimo();   // the button pressed again, same desk
    EXPECT_EQ(principal("d_b_divida"), 70000);
}

// Deep in debt with a loan, 500 seats go for 50,000 at a time until the
// balance is back to -1,000,000 or the stadium down to 10,000 seats.
TEST_F(Painel, ForcedSeatSales) {
    struct Caso { long saldo, divida, lugares; const char* lingua; const char* depois; const char* aviso; };
    for (const Caso& c : {Caso{-1200000, 300000, 11000, "P", "-1100000|10000", "Tem que vender Jogador(es) até ter um Saldo de > -500.000"},
                          Caso{-1020000, 1, 20000, "P", "-970000|19500",
                               "Foram Vendidos: 500 Lugares do Estádio para pagar o Empréstimo - Saldo: (-970000)"},
                          Caso{-1020000, 1, 20000, "I", "-970000|19500",
                               "Was sell: 500 seats of the stadium, to pay the loan - Money: (-970000)"},
                          Caso{-2000000, 0, 30000, "P", "-2000000|30000", nullptr}}) {
        Lingua = c.lingua;
        sql("UPDATE principal SET d_total = ?, d_b_divida = ?, d_b_mensal = 0", {c.saldo, c.divida});
        sql("UPDATE clubes SET cap_estadio = ? WHERE clube = ?", {c.lugares, Clube_Treinador});
        porta.mensagens.clear();
        refrescos = 0;
        prestacao();
        EXPECT_EQ(linha("SELECT d_total, cap_estadio FROM principal, clubes WHERE clube = ?", {Clube_Treinador}), c.depois);
        ASSERT_EQ(porta.mensagens.size(), c.aviso ? 1u : 0u) << c.saldo;
        EXPECT_TRUE(!c.aviso || (porta.mensagens[0].texto == c.aviso && porta.mensagens[0].icone == Icone::Critico))
            << porta.mensagens[0].texto;
        EXPECT_GE(refrescos, 1) << "the panel shows the sale too";
    }
    // Without the club's row the seat sale cannot run: nothing changes.
    sql("UPDATE principal SET d_total = -1200000, d_b_divida = 300000, d_b_mensal = 1000");
    sql("DROP TABLE clubes");
    porta.mensagens.clear();
    prestacao();
    EXPECT_EQ(linha("SELECT d_total, d_b_divida FROM principal"), "-1200000|300000");
    ASSERT_EQ(porta.mensagens.size(), 1u);
    EXPECT_EQ(porta.mensagens[0].texto.rfind("Não foi possível pagar a prestação do empréstimo.", 0), 0u);
    EXPECT_EQ(Prestacao_Paga, 0);
}

TEST_F(Painel, FinanceFiguresAndPlayerCounts) {
    sql("UPDATE principal SET d_in = 2500000, d_out = 999");
    // Four players at the club, three lent out.
    sql("DELETE FROM jogadores WHERE equipa = ?", {Clube_Treinador});
    for (int i = 0; i < 4; ++i) jogador(Clube_Treinador, "md", 25, 50, 1000);
    for (int i = 0; i < 3; ++i)
        sql("UPDATE jogadores SET clube_origem = ? WHERE rowid = ?", {Clube_Treinador, jogador(outro, "md", 25, 50, 5000)});
    auto p = Calcular_Painel_Financas();
    EXPECT_EQ(p.liquido, 2499001);
    EXPECT_EQ(p.saldo, 2000000);
    EXPECT_EQ(p.ordenados, 40) << "the wages of the players at the club";
    EXPECT_EQ(p.jogadores + " / " + p.valores, "Nº Jogadores: 4 + 3 = 7 / Valor Jogadores: 4,000 + 15,000 = 19,000");
    Lingua = "I";
    p = Calcular_Painel_Financas();
    EXPECT_EQ(p.jogadores + " / " + p.valores, "Nº Players: 4 + 3 = 7 / Players Price: 4,000 + 15,000 = 19,000");
}

TEST_F(Painel, TicketPriceByDivisionAndVenue) {
    struct Caso { int div; bool casa; int milesimas, inteiro; const char* texto; };
    for (const Caso& c : {Caso{1, true, 4500, 4, "4.500"}, Caso{2, true, 3500, 4, "3.500"}, Caso{3, true, 3000, 3, "3.000"},
                          Caso{1, false, 0, 0, ""}, Caso{3, false, 0, 0, ""}}) {
        sql("UPDATE clubes SET div = ? WHERE clube = ?", {c.div, Clube_Treinador});
        jogo_da_jornada(c.casa);
        auto p = Actualizar_Equipas_Jogo();
        EXPECT_EQ(p.mostra_preco, c.casa);
        EXPECT_EQ(p.preco_milesimas, c.milesimas);
        EXPECT_EQ(p.preco_bilhete, c.inteiro) << "division " << c.div;
        EXPECT_EQ(c.casa ? formatar_preco_bilhete(p.preco_milesimas) : "", c.texto);
        EXPECT_EQ(Jogo_Em_Casa, c.casa ? 1 : 0);
        EXPECT_EQ(p.jogo.rfind(c.casa ? "CASA - " : "FORA - ", 0), 0u) << p.jogo;
        EXPECT_NE(p.jogo.find(Adversario), std::string::npos);
    }
}

TEST_F(Painel, CupDayPanelPriceAndOpponent) {
    const std::string so_taca = linha("SELECT clube FROM clubes_taca WHERE clube NOT IN (SELECT clube FROM clubes)");
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
    EXPECT_EQ(Equipa_Taca() + " " + Local_Taca(), so_taca + " CASA");
    Lingua = "I";
    eliminatoria_com(so_taca, false);
    EXPECT_EQ(Actualizar_Equipas_Jogo().jogo, "CUP FORA - " + so_taca + " (0ª Div.)");
    sql("DELETE FROM jogos_taca");
    auto fora = Actualizar_Equipas_Jogo();
    EXPECT_EQ(fora.jogo, "CUP Golvantario");
    EXPECT_EQ(Adversario + Equipa_Taca() + Local_Taca(), "000");
    EXPECT_EQ(fora.preco_bilhete, 14);
    // A cup round out of step with the matchday: the league panel.
    Lingua = "P";
    Jornada_Actual = 10;
    Eliminatoria_Taca = 1;
    jogo_da_jornada(true);
    auto p = Actualizar_Equipas_Jogo();
    EXPECT_EQ(p.jogo.rfind("CASA - ", 0), 0u);
    EXPECT_TRUE(p.titulo_taca.empty());
}

TEST_F(Painel, CoachGaugeRunsAndTheLeagueTrend) {
    struct Caso { int sit, valor; float fraccao; const char* texto; };
    for (const Caso& c : {Caso{45, 40, 1.0f, "Desempenho Treinador: 100%"}, Caso{-3, 0, 0.0f, "Desempenho Treinador: 0%"},
                          Caso{21, 21, 0.525f, "Desempenho Treinador: 52.5%"}, Caso{20, 20, 0.5f, "Desempenho Treinador: 50%"}}) {
        sql("UPDATE principal SET sit = ?", {c.sit});
        auto d = Desempenho_Treinador();
        EXPECT_EQ(d.valor, c.valor);
        EXPECT_FLOAT_EQ(d.fraccao, c.fraccao);
        EXPECT_EQ(d.texto, c.texto);
    }
    // Runs longer than one are shown.
    Zerar_V_E_D_GC_PC();
    auto series = [](int marcados, int sofridos) {
        Registar_Resultado_V_E_D_GC_PC(marcados, sofridos);
        const auto s = Act_V_E_D_GC_PC();
        return s.vitorias_empates_derrotas + " / " + s.sem_perder_ganhar;
    };
    EXPECT_EQ(series(1, 0), " / 1 Jogo(s) sem Perder");
    EXPECT_EQ(series(2, 1), "2 Vitórias Consecutivas / 2 Jogo(s) sem Perder");
    series(0, 1);
    Lingua = "I";
    EXPECT_EQ(series(0, 2), "2 Consecutive Loses / 2 Game(s) without Win");
    // The trend compares the places of the last two rounds.
    for (auto [jor, pos] : {std::pair{1, 5}, {2, 7}, {3, 2}})
        sql("INSERT INTO Historico_Jornadas (jor, clube, pontos, pos) VALUES (?, ?, 0, ?)", {jor, Clube_Treinador, pos});
    Jornada_Actual = 3;
    EXPECT_EQ(Evolucao_Jor(), -1);
    Jornada_Actual = 4;
    EXPECT_EQ(Evolucao_Jor(), 1);
    sql("INSERT INTO Historico_Jornadas (jor, clube, pontos, pos) VALUES (4, ?, 0, 2)", {Clube_Treinador});
    Jornada_Actual = 5;
    EXPECT_EQ(Evolucao_Jor(), 0);
}

TEST_F(Painel, ContractWarningCaptionsAndStatusTexts) {
    sql("UPDATE jogadores SET contrato = 2 WHERE equipa = ?", {Clube_Treinador});
    sql("UPDATE jogadores SET contrato = 1 WHERE rowid IN (SELECT rowid FROM jogadores WHERE equipa = ? LIMIT 3)",
        {Clube_Treinador});
    Jornada_Actual = 31;
    EXPECT_EQ(Aviso_Contratos(), "");
    Jornada_Actual = 32;
    EXPECT_EQ(Aviso_Contratos(), "ATENÇÃO. Existem 3 jogador(es) em fim de contrato.");
    Jornada_Actual = 5;
    EXPECT_EQ(Titulo_Secretaria(), "Golvantario  - 5 ª Jornada - 1999 - Manuel Tester");
    Lingua = "I";
    Jornada_Actual = 34;
    EXPECT_EQ(Aviso_Contratos(), "ATENTION. There are 3 player(s) with the contract reaching the end.");
    EXPECT_EQ(Titulo_Secretaria(), "Golvantario  - 34  Match - 1999 - Manuel Tester");
    EXPECT_EQ(Texto_Modo_Jogo() + Texto_Divisao() + Texto_Contrato(), "[Real Game]1º Division[2 Year(s) Contract]");
    Lingua = "P";
    Jogo_Real = 0;
    EXPECT_EQ(Texto_Modo_Jogo() + Texto_Divisao(), "[Jogo Contínuo]1ª Divisão");
}

} // namespace
} // namespace gv
