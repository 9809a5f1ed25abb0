// The desk without a window. The squad as it lists it, and the next-match
// button's line-up check, line-up write and screen choice; what it shows and
// pays: the ledger, the wages and the bank instalment; finance figures, next
// match and ticket price, trend, runs, coach performance, the contract
// warning and the caption; the manager's deals from the squad grid's player
// menu, and computer clubs' offers for his players, their draws held.

#include <map>
#include <set>

#include "../mercado/apoio_mercado.h"
#include "data/carreira.h"
#include "data/clubes.h"
#include "data/financas.h"
#include "data/liga.h"
#include "data/movimentos.h"
#include "data/plantel.h"
#include "data/tacticas.h"
#include "desk/propostas.h"
#include "desk/proximo_jogo.h"
#include "desk/secretaria.h"
#include "platform/texto.h"

namespace gv {
namespace {

class Plantel : public teste::Com_Jogo {
protected:
    // Every player of the club and every one it lent out, once each, and
    // the sections in order with nothing between them.
    std::vector<Linha_Plantel> completo(const std::string& formacao) {
        auto linhas = Linhas_Plantel(formacao);
        EXPECT_EQ(static_cast<int>(linhas.size()), contar("SELECT count(*) FROM jogadores WHERE equipa = ? OR clube_origem = ?",
                                                          {Clube_Treinador, Clube_Treinador}));
        std::set<long long> ids;
        for (std::size_t i = 0; i < linhas.size(); ++i) {
            EXPECT_TRUE(ids.insert(linhas[i].rowid).second) << linhas[i].nome << " twice";
            EXPECT_TRUE(i == 0 || linhas[i - 1].seccao <= linhas[i].seccao) << i;
        }
        return linhas;
    }
    // The grid's rows as the desk lays them out for the stored line-up.
    std::vector<Linha_Escolha> grelha(const std::string& formacao = "4-3-3") {
        std::vector<Linha_Escolha> r;
        for (const auto& l : Linhas_Plantel(formacao)) {
            const bool cedido = l.seccao == Seccao_Plantel::Emprestados, fora = l.seccao == Seccao_Plantel::Indisponiveis;
            r.push_back({l.rowid, l.marca, l.pos, l.nome, cedido || (fora && l.lesionado), cedido, fora});
        }
        return r;
    }
    static int contar_se(const auto& linhas, auto condicao) {
        return static_cast<int>(std::count_if(linhas.begin(), linhas.end(), condicao));
    }
};

TEST_F(Plantel, FourFourTwoLaysOutLineUpThenReservesWithOneSubstitutePerLine) {
    const auto linhas = completo("4-4-2");
    std::string equipa;
    std::map<std::string, int> suplentes;
    for (std::size_t i = 0; i < linhas.size(); ++i) {
        const auto& l = linhas[i];
        EXPECT_EQ(l.seccao, i < 11 ? Seccao_Plantel::Equipa : Seccao_Plantel::Reservas) << i;
        if (i < 11) {
            equipa += l.pos + std::to_string(l.marca) + " ";
            EXPECT_TRUE(i == 0 || l.pos != linhas[i - 1].pos || linhas[i - 1].forca >= l.forca) << "strongest first";
        } else if (l.marca == 2) {
            ++suplentes[l.pos];
            EXPECT_NE(l.pos, linhas[i - 1].pos) << "the substitute is the first reserve of his line";
        }
    }
    EXPECT_EQ(equipa, "gk1 df1 df1 df1 df1 md1 md1 md1 md1 av1 av1 ");
    EXPECT_EQ(suplentes, (std::map<std::string, int>{{"gk", 1}, {"df", 1}, {"md", 1}, {"av", 1}}));
    // A line with no place in the formation goes to the bench; more players
    // asked of a line than it has all start.
    const auto sem_avancados = completo("5-5-0");
    EXPECT_EQ(contar_se(sem_avancados, [](auto& l) { return l.pos == "av" && l.seccao == Seccao_Plantel::Equipa; }), 0);
    EXPECT_EQ(contar_se(sem_avancados, [](auto& l) { return l.pos == "av" && l.marca == 2; }), 1);
    completo("9-0-1");
    // Two stored goalkeeper starters: still one in goal.
    sql("UPDATE jogadores SET joga = 1 WHERE equipa = ? AND pos = 'gk'", {Clube_Treinador});
    EXPECT_EQ(contar_se(completo(Tactica_Actual()), [](auto& l) { return l.pos == "gk" && l.seccao == Seccao_Plantel::Equipa; }),
              1);
}

TEST_F(Plantel, InjuredLentOutAndBorrowedPlayersHaveTheirOwnPlaces) {
    // The club keeps a single goalkeeper, injured.
    auto gks = Base_Dados->OpenRecordset("SELECT rowid FROM jogadores WHERE equipa = ? AND pos = 'gk' ORDER BY forca DESC",
                                         {Clube_Treinador});
    const long long lesionado = gks.rowid();
    sql("UPDATE jogadores SET joga = 3, lesionado = 1, lesionado_jor = 4 WHERE rowid = ?", {lesionado});
    for (gks.MoveNext(); !gks.Eof(); gks.MoveNext()) sql("UPDATE jogadores SET equipa = ? WHERE rowid = ?", {outro, gks.rowid()});
    // One defender lent out, one forward borrowed from elsewhere.
    const long long cedido = Base_Dados->valor("SELECT rowid FROM jogadores WHERE equipa = ? AND pos = 'df'", {Clube_Treinador}).inteiro();
    sql("UPDATE jogadores SET equipa = ?, clube_origem = ?, emprestado = 1, joga = 1 WHERE rowid = ?", {outro, Clube_Treinador, cedido});
    const long long recebido = Base_Dados->valor("SELECT rowid FROM jogadores WHERE equipa = ? AND pos = 'av'", {outro}).inteiro();
    sql("UPDATE jogadores SET equipa = ?, clube_origem = ?, emprestado = 1 WHERE rowid = ?", {Clube_Treinador, outro, recebido});
    const auto linhas = completo("4-4-2");
    std::map<long long, Linha_Plantel> por_id;
    for (auto& l : linhas) por_id[l.rowid] = l;
    EXPECT_EQ(por_id[lesionado].seccao, Seccao_Plantel::Indisponiveis);
    EXPECT_EQ(por_id[lesionado].lesionado_jor, 4);
    EXPECT_EQ(por_id[cedido].seccao, Seccao_Plantel::Emprestados);
    EXPECT_NE(por_id[recebido].seccao, Seccao_Plantel::Emprestados);
    EXPECT_TRUE(por_id[recebido].emprestado);
    EXPECT_EQ(contar_se(linhas, [](auto& l) { return l.pos == "gk" && l.marca != 0; }), 0)
        << "no goalkeeper in the line-up or on the bench";
    EXPECT_EQ(linhas.back().seccao, Seccao_Plantel::Emprestados);
}

TEST_F(Plantel, TheLineUpCheckReportsGoalkeeperAndCountRules) {
    auto linhas = grelha();
    EXPECT_FALSE(Verificacao_N_Jogadores(linhas).falhou) << "the stored line-up passes";
    // Five substitutes pass, six fail.
    int suplentes = contar_se(linhas, [](auto& l) { return l.marca == 2; });
    for (auto& l : linhas)
        if (l.marca == 0 && suplentes < 5) {
            l.marca = 2;
            ++suplentes;
        }
    ASSERT_EQ(suplentes, 5);
    EXPECT_FALSE(Verificacao_N_Jogadores(linhas).falhou);
    std::find_if(linhas.begin(), linhas.end(), [](auto& l) { return l.marca == 0; })->marca = 2;
    EXPECT_EQ(Verificacao_N_Jogadores(linhas).mensagens, std::vector<std::string>{"Nº de Jogadores Suplentes Inválido. (max. 5)"});
    // The bench goalkeeper starts too, and every reserve is a substitute.
    for (auto& l : linhas)
        if (l.marca != 1) l.marca = (l.pos == "gk") ? 1 : 2;
    auto v = Verificacao_N_Jogadores(linhas);
    EXPECT_TRUE(v.falhou && v.combo_vermelho && !v.parou_na_linha);
    EXPECT_EQ(v.mensagens, (std::vector<std::string>{"Tem que existir um guarda redes.", "Nº de Jogadores Titulares Inválido. (11 Jog.)",
                                                     "Nº de Jogadores Suplentes Inválido. (max. 5)"}));
    // No goalkeeper at all, in English.
    Lingua = "I";
    for (auto& l : linhas) l.marca = l.pos == "gk" ? 0 : l.marca;
    EXPECT_EQ(Verificacao_N_Jogadores(linhas).mensagens[0], "It must exist at least one GK.");
}

TEST_F(Plantel, APlayerWhoCannotPlayStopsTheCheckAtHisRow) {
    auto linhas = grelha();
    linhas[3].impedido = true;   // a starter sold since the desk was loaded
    linhas[5].marca = 0;         // and a count error after him, never reached
    auto v = Verificacao_N_Jogadores(linhas);
    EXPECT_TRUE(v.parou_na_linha);
    EXPECT_EQ(v.mensagens, std::vector<std::string>{"O Jogador " + linhas[3].nome + " não pode jogar."});
    Lingua = "I";
    EXPECT_EQ(Verificacao_N_Jogadores(linhas).mensagens[0], "The Player " + linhas[3].nome + " can't play.");
}

TEST_F(Plantel, TheLineUpIsWrittenByPlayerIdentity) {
    // Pick 4-4-2 in the grid; two players share a name and position; an
    // injured player keeps his code.
    auto linhas = grelha("4-4-2");
    sql("UPDATE jogadores SET nome = 'Gémeo' WHERE rowid IN (?, ?)", {linhas[1].rowid, linhas[14].rowid});
    linhas.back().marca = 0;
    linhas.back().vermelho = true;
    Actualizar_Dados_Jogadores_Equipa(linhas);
    for (const auto& l : linhas) EXPECT_EQ(coluna(l.rowid, "joga"), std::to_string(l.vermelho ? 3 : l.marca)) << l.nome;
    EXPECT_EQ(contar("SELECT count(*) FROM jogadores WHERE equipa = ? AND joga = 1", {Clube_Treinador}), 11);
    EXPECT_EQ(contar("SELECT count(*) FROM jogadores WHERE equipa = ? AND joga = 1 AND pos = 'md'", {Clube_Treinador}), 4);
    // A row can never move another club's player.
    const long long alheio = Base_Dados->valor("SELECT rowid FROM jogadores WHERE equipa <> ?", {Clube_Treinador}).inteiro();
    Actualizar_Dados_Jogadores_Equipa({Linha_Escolha{alheio, 1, "df", "x", false, false, false}});
    EXPECT_EQ(coluna(alheio, "joga"), "0");
}

TEST_F(Plantel, TheMatchScreenFollowsTheCupCalendar) {
    // Matchday 10 with its cup round due, then played; after the final; after the season.
    const struct {
        int jornada, eliminatoria;
        Ecra_Jogo ecra;
    } casos[] = {{1, 1, Ecra_Jogo::Campeonato}, {10, 2, Ecra_Jogo::Taca}, {10, 3, Ecra_Jogo::Campeonato},
                 {30, 7, Ecra_Jogo::Campeonato}, {35, 7, Ecra_Jogo::Fim_De_Epoca}};
    for (const auto& c : casos) {
        Jornada_Actual = c.jornada;
        Eliminatoria_Taca = c.eliminatoria;
        EXPECT_EQ(Ecra_Da_Jornada(), c.ecra) << c.jornada << " " << c.eliminatoria;
    }
}

// ---------------------------------------------------------------- the panels and the money

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

// ---------------------------------------------------------------- the deals and the offers

constexpr double Maior_Sorteio = 1.0 - 1.0 / (1 << 24);   // the source's highest draw

class Negocios : public teste::Com_Jogo {
protected:
    void SetUp() override {
        Com_Jogo::SetUp();
        id = std::stoll(linha("SELECT rowid FROM jogadores WHERE equipa = ? AND pos = 'md'", {Clube_Treinador}));
    }
    void mudar(const std::string& sets) { sql("UPDATE jogadores SET " + sets + " WHERE rowid = ?", {id}); }
    long long id = 0;
};

TEST_F(Negocios, SellingAtTheValueInTheGrid) {
    mudar("idade = 16");
    EXPECT_EQ(recusa(Vender_Jogador(id)), "Este jogador só pode ser vendido depois dos 17 anos.");
    mudar("idade = 25, preco = 250000");
    porta.responder(Resposta::Nao);
    EXPECT_EQ(Vender_Jogador(id), Resultado_Negocio::Desistiu);
    EXPECT_EQ(coluna(id, "equipa") + linha("SELECT d_in FROM principal"), Clube_Treinador + "0");
    porta.mensagens.clear();
    porta.responder(Resposta::Sim);
    ASSERT_EQ(Vender_Jogador(id), Resultado_Negocio::Feito);
    ASSERT_EQ(porta.mensagens.size(), 2u);
    const auto& q = porta.mensagens[0].texto;
    EXPECT_TRUE(q.starts_with("O clube ") && q.ends_with("ª Div.), oferece 250,000.\nAceita ?")) << q;
    EXPECT_EQ(porta.mensagens[0].botao_defeito, 0);
    EXPECT_EQ(porta.mensagens[1].texto.rfind("Jogador Vendido ao ", 0), 0u);
    EXPECT_NE(coluna(id, "equipa"), Clube_Treinador);
    EXPECT_EQ(linha("SELECT d_venda_in, Tipo, valor, (SELECT count(*) FROM transferencias_clubes) FROM principal, transferencias"),
              "250000|V|250000|1");
}

TEST_F(Negocios, LendingFeesAndTheMatchdayLimit) {
    mudar("idade = 16, forca = 30, preco = 900000");
    porta.responder(Resposta::Sim);
    ASSERT_EQ(Emprestar_Jogador(id), Resultado_Negocio::Feito);
    EXPECT_NE(porta.mensagens[0].texto.find("oferece 3,000."), std::string::npos) << porta.mensagens[0].texto;
    EXPECT_EQ(coluna(id, "emprestado, clube_origem"), "1|" + Clube_Treinador);
    EXPECT_EQ(linha("SELECT d_emp_in, Tipo, valor FROM principal, transferencias"), "3000|E-|3000");
    Jornada_Actual = 25;
    Lingua = "I";
    EXPECT_EQ(recusa(Emprestar_Jogador(std::stoll(linha("SELECT rowid FROM jogadores WHERE equipa = ?", {Clube_Treinador})))),
              "You only can loan players on the next year.");
}

TEST_F(Negocios, RenewalTermsByAgeAndTheirCostPaidAsWages) {
    // 1.5 % of the value is the floor.
    for (auto [idade, ordenado, preco, novo, epocas, custo] :
         {std::tuple{23, 10000, 1000000, 15000.0, 3, 75000L}, {31, 50000, 1000000, 45000.0, 4, 75000L}, {26, 20000, 100000, 22400.0, 4, 7500L}}) {
        const auto t = Termos_De_Renovacao(idade, ordenado, preco);
        EXPECT_DOUBLE_EQ(t.ordenado, novo) << idade;
        EXPECT_EQ(std::pair(t.epocas, t.custo), std::pair(epocas, custo)) << idade;
    }
    mudar("idade = 23, ordenado = 10000, preco = 1000000, contrato = 1");
    porta.responder(Resposta::Sim);
    ASSERT_EQ(Renovar_Contrato(id), Resultado_Negocio::Feito);
    EXPECT_TRUE(porta.mensagens[0].texto.ends_with(
        " pretende 15,000 de Ordenado e um Contrato de 3 épocas.\nCusto de Renovação : 75,000\nAceita ?")) << porta.mensagens[0].texto;
    EXPECT_EQ(coluna(id, "ordenado, contrato"), "15000|3");
    EXPECT_EQ(linha("SELECT d_Ord, d_out FROM principal"), "75000|75000");
}

TEST_F(Negocios, BuyingTheLoanedInPlayer) {
    const long long alheio = std::stoll(linha("SELECT rowid FROM jogadores WHERE equipa <> ?", {Clube_Treinador}));
    EXPECT_EQ(Vender_Jogador(alheio), Resultado_Negocio::Falhou) << "another club's player";
    EXPECT_EQ(Comprar_Jogador_Emprestado(alheio), Resultado_Negocio::Falhou);
    EXPECT_EQ(linha("SELECT d_in, d_out FROM principal"), "0|0");
    mudar("emprestado = 1, clube_origem = 'Dono FC', contrato = 2, preco = 400000");
    ASSERT_EQ(Comprar_Jogador_Emprestado(id), Resultado_Negocio::Feito);
    EXPECT_EQ(ultima(), "Jogador Comprado.");
    // The upkeep after the next league round writes the owner's 0.
    EXPECT_EQ(coluna(id, "contrato, emprestado, clube_origem"), "3|0|");
    EXPECT_EQ(linha("SELECT d_venda_out, Tipo, valor FROM principal, transferencias"), "400000|C|400000");
}

TEST_F(Negocios, ADealThatFailsMidWriteChangesNothingAndIsReported) {
    mudar("idade = 23, contrato = 1");
    const std::pair<const char*, Resultado_Negocio (*)(long long)> negocios[] = {
        {"venda.gravar", [](long long j) { return Vender_Jogador(j); }},
        {"emprestimo.gravar", [](long long j) { return Emprestar_Jogador(j); }},
        {"renovacao.gravar", [](long long j) { return Renovar_Contrato(j); }}};
    const std::string antes = teste::conteudo_base(*Base_Dados);
    for (auto [ponto, negocio] : negocios) {
        armar_falha(ponto, SQLITE_FULL);
        porta.responder(Resposta::Sim);
        EXPECT_EQ(negocio(id), Resultado_Negocio::Falhou) << ponto;
        EXPECT_EQ(teste::conteudo_base(*Base_Dados), antes) << ponto;
        EXPECT_EQ(ultima(), "Não foi possível concluir a operação. Nada foi alterado.\nO disco está cheio.") << ponto;
    }
}

class Propostas_Teste : public Negocios {
protected:
    void SetUp() override {
        Negocios::SetUp();
        // Every player worth 1,000,000 with a second-division strength; the
        // first draw of a player picks the first outfield one.
        sql("UPDATE jogadores SET preco = 1000000, forca = 50, joga = 0 WHERE equipa = ?", {Clube_Treinador});
        id = std::stoll(linha("SELECT min(rowid) FROM jogadores WHERE equipa = ? AND pos <> 'gk'", {Clube_Treinador}));
        nome = coluna(id, "nome || ' (' || pos || ')'");
    }
    // The draws in turn: an offer or none, which player, loan or sale, the
    // club's kind (0.9: short of players in the position), the value.
    Resultado_Proposta propor(double oferta, double tipo, double valor, Resposta r = Resposta::Nao, double escolha = 0) {
        Sorteios_Fixados s({oferta, escolha, tipo, 0.9, valor});
        porta.mensagens.clear();
        porta.responder(r);
        const auto resultado = Propostas();
        porta.respostas.clear();
        return resultado;
    }
    std::string nome;
};

TEST_F(Propostas_Teste, AnOfferNeedsADrawOfPointFourAndALoanOneAboveHalfUpToMatchday25) {
    const std::string antes = teste::conteudo_base(*Base_Dados);
    struct Caso { int jornada; double oferta, tipo; const char* pede; };
    for (const Caso& c : {Caso{1, 0.3999, 0.9, nullptr}, Caso{1, 0.4, 0.5, "VENDER"}, Caso{1, 0.4, 0.5001, "EMPRESTAR"},
                          Caso{25, 0.4, Maior_Sorteio, "EMPRESTAR"}, Caso{26, 0.4, 0.5001, nullptr}, Caso{26, 0.4, 0.5, "VENDER"}}) {
        Jornada_Actual = c.jornada;
        EXPECT_EQ(propor(c.oferta, c.tipo, 0), c.pede ? Resultado_Proposta::Recusada : Resultado_Proposta::Nenhuma)
            << c.jornada << " " << c.oferta << " " << c.tipo;
        ASSERT_EQ(porta.mensagens.size(), c.pede ? 1u : 0u);
        EXPECT_TRUE(!c.pede || porta.mensagens[0].texto.find(c.pede) != std::string::npos) << porta.mensagens[0].texto;
    }
    EXPECT_EQ(teste::conteudo_base(*Base_Dados), antes) << "a refused offer changes nothing";
    EXPECT_EQ(Proposta_Feita, 0);
}

TEST_F(Propostas_Teste, TheOfferedValueRunsFromItsLowestToItsHighestDraw) {
    const std::string venda = " pelo Jogador: " + nome + "\nAceita VENDER o Jogador?",
                      emprestimo = " pelo Jogador: " + nome + "\nAceita EMPRESTAR este jogador? ";
    struct Caso { double tipo, valor; std::string oferta; };
    for (const Caso& c : {Caso{0.5, 0, "950,000" + venda}, Caso{0.5, Maior_Sorteio, "1,849,999" + venda},
                          Caso{0.9, 0, "50,000" + emprestimo}, Caso{0.9, Maior_Sorteio, "349,999" + emprestimo}}) {
        propor(0.4, c.tipo, c.valor);
        ASSERT_EQ(porta.mensagens.size(), 1u);
        const auto& m = porta.mensagens[0];
        EXPECT_TRUE(m.texto.starts_with("O clube ") && m.texto.ends_with("(2ª Div.), oferece " + c.oferta)) << m.texto;
        EXPECT_EQ(m.icone, Icone::Pergunta);
        EXPECT_EQ(m.botao_defeito, 0) << "Yes is the default";
    }
}

TEST_F(Propostas_Teste, AcceptedLoanLendsThePlayerAndBooksTheFee) {
    ASSERT_EQ(propor(0.4, 0.9, Maior_Sorteio, Resposta::Sim), Resultado_Proposta::Emprestimo);
    EXPECT_EQ(Proposta_Feita, 1);
    EXPECT_EQ(Divisao_Clube(coluna(id, "equipa")), 2);
    EXPECT_EQ(coluna(id, "clube_origem, emprestado"), Clube_Treinador + "|1");
    EXPECT_EQ(linha("SELECT d_total, d_emp_in, Tipo, valor FROM principal, transferencias"), "2349999|349999|E-|349999");
    ASSERT_EQ(porta.mensagens.size(), 2u);
    const auto& aviso = porta.mensagens[1].texto;
    EXPECT_TRUE(aviso.starts_with("Jogador Emprestado ao ") && aviso.ends_with(" até ao final da época.")) << aviso;
}

TEST_F(Propostas_Teste, AcceptedSaleMovesThePlayerAtHisValueAndBooksThePrice) {
    ASSERT_EQ(propor(0.4, 0.5, 0, Resposta::Sim), Resultado_Proposta::Venda);
    const std::string clube = coluna(id, "equipa");
    EXPECT_EQ(Divisao_Clube(clube), 2);
    EXPECT_EQ(coluna(id, "preco"), "1000000");
    EXPECT_EQ(linha("SELECT d_total, d_venda_in, Tipo, valor FROM principal, transferencias"), "2950000|950000|V|950000");
    EXPECT_EQ(linha("SELECT tipo FROM transferencias_clubes"), "(1) " + Clube_Treinador + " -> " + clube + " (2)");
    ASSERT_EQ(porta.mensagens.size(), 2u);
    EXPECT_EQ(porta.mensagens[1].texto.rfind("Jogador Vendido ao ", 0), 0u);
}

TEST_F(Propostas_Teste, AnAcceptedOfferThatFailsMidWriteChangesNothingAndIsReported) {
    const std::string antes = teste::conteudo_base(*Base_Dados);
    for (double tipo : {0.5, 0.9}) {
        armar_falha("proposta.gravar", SQLITE_FULL);
        EXPECT_EQ(propor(0.4, tipo, 0, Resposta::Sim), Resultado_Proposta::Recusada);
        EXPECT_EQ(teste::conteudo_base(*Base_Dados), antes) << tipo;
        ASSERT_EQ(porta.mensagens.size(), 2u);
        EXPECT_EQ(porta.mensagens[1].texto, "Não foi possível concluir o negócio.\nO disco está cheio.");
        EXPECT_EQ(porta.mensagens[1].icone, Icone::Critico);
    }
    EXPECT_EQ(Proposta_Feita, 0);
}

TEST_F(Propostas_Teste, OnlyFitOwnOutfieldPlayersAreOffered) {
    // All injured but the goalkeepers, one borrowed player and one of the club's own.
    sql("UPDATE jogadores SET joga = 3 WHERE equipa = ? AND pos <> 'gk'", {Clube_Treinador});
    const long long apto = jogador(Clube_Treinador, "av", 25, 50, 1000000, "Apto");
    sql("UPDATE jogadores SET clube_origem = '0' WHERE rowid = ?", {apto});
    sql("UPDATE jogadores SET clube_origem = ?, emprestado = 1 WHERE rowid = ?", {outro, jogador(Clube_Treinador, "av", 25, 50, 1, "Emprestado")});
    for (double escolha : {0.0, Maior_Sorteio}) {
        propor(0.4, 0.5, 0, Resposta::Nao, escolha);
        ASSERT_EQ(porta.mensagens.size(), 1u);
        EXPECT_NE(porta.mensagens[0].texto.find("pelo Jogador: Apto (av)"), std::string::npos);
    }
    sql("UPDATE jogadores SET joga = 3 WHERE rowid = ?", {apto});
    EXPECT_EQ(propor(0.4, 0.5, 0), Resultado_Proposta::Nenhuma);
    EXPECT_TRUE(porta.mensagens.empty());
}

// The club's kind: up to 0.33 by table band (top up to 0.2, middle up to
// 0.55), up to 0.66 by strength in the position (strong up to 0.4, weak
// above 0.6, none between), above that by shortage in it. In a fourth
// division of one club there is no middle, of five no bottom; a kind
// without a club draws again, and the draws after the held ones (0.5, 0.5)
// never find one.
TEST_F(Propostas_Teste, TheInterestedClubsKindFollowsItsDraws) {
    EXPECT_EQ(std::to_string(Divisao_Do_Jogador(40)) + std::to_string(Divisao_Do_Jogador(41)) +
                  std::to_string(Divisao_Do_Jogador(65)) + std::to_string(Divisao_Do_Jogador(66)), "3221");
    struct Caso { int clubes; std::vector<double> sorteios; bool acha; };
    for (const Caso& c : {Caso{1, {0.1, 0.2}, true}, Caso{1, {0.1, 0.2001}, false}, Caso{5, {0.1, 0.55}, true},
                          Caso{5, {0.1, 0.5501}, false}, Caso{5, {0.33, 0.5}, true}, Caso{5, {0.3301, 0.5}, false},
                          Caso{5, {0.5, 0.4}, true}, Caso{5, {0.5, 0.4001}, false}, Caso{5, {0.5, 0.6}, false},
                          Caso{5, {0.5, 0.6001}, true}, Caso{5, {0.66, 0.5}, false}, Caso{5, {0.6601}, true}}) {
        sql("UPDATE clubes SET div = 2 WHERE div = 4");
        sql("UPDATE clubes SET div = 4 WHERE clube IN (SELECT clube FROM clubes WHERE div = 2 ORDER BY clube LIMIT ?)", {c.clubes});
        Sorteios_Fixados s(teste::sorteios(c.sorteios, 0.5));
        const std::string clube = Escolher_Clube_Interessado(4, "df");
        EXPECT_EQ(!clube.empty(), c.acha) << c.clubes << " clubs, draws " << c.sorteios[0] << " " << c.sorteios.back();
        EXPECT_EQ(clube.empty() ? 4 : Divisao_Clube(clube), 4);
    }
    // Alone in its division, the manager's club leaves every kind empty.
    sql("UPDATE clubes SET div = 2 WHERE div = 4");
    sql("UPDATE clubes SET div = 4 WHERE clube = ?", {Clube_Treinador});
    const double todos[] = {0.1, 0.1, 0.1, 0.5, 0.1, 0.9, 0.5, 0.1, 0.5, 0.9, 0.9};
    Sorteios_Fixados s([&todos, i = 0]() mutable { return todos[i++ % std::size(todos)]; });
    EXPECT_EQ(Escolher_Clube_Interessado(4, "df"), "");
}

TEST_F(Propostas_Teste, AMoveKeepsTheContractTakesTheScorersRowAndIsLogged) {
    // A 29-year-old moves from a division-2 club to a division-1 club.
    auto rs = Base_Dados->OpenRecordset("SELECT rowid, nome, pos, forca, contrato FROM jogadores WHERE equipa = ?", {outro});
    const std::string nome = rs["nome"].texto(), pos = rs["pos"].texto();
    const std::string para = linha("SELECT clube FROM clubes WHERE div = 1 AND clube <> ?", {Clube_Treinador});
    for (int idade : {29, 31})
        sql("INSERT INTO Melhores_Marcadores_Sempre (nome, equipa, pos, idade, sit, golos) VALUES (?, ?, ?, ?, 1, 4)", {nome, outro, pos, idade});
    Mudar_Clube_Jogador(777000, pos, nome, 29, rs["forca"].int32(), outro, para, rs.rowid());
    EXPECT_EQ(coluna(rs.rowid(), "equipa, preco, contrato"), para + "|777000|" + rs["contrato"].texto());
    EXPECT_EQ(linha("SELECT tipo FROM transferencias_clubes"), "(2) " + outro + " -> " + para + " (1)");
    EXPECT_EQ(linha("SELECT group_concat(equipa, '|') FROM (SELECT equipa FROM Melhores_Marcadores_Sempre WHERE nome = ? ORDER BY idade)",
                    {nome}), para + "|" + outro) << "the row of his age goes with him";
    // Created players: contract by age.
    Mudar_Clube_Jogador(1000, "md", "Novo Velho", 30, 40, "-", para, 0);
    Mudar_Clube_Jogador(1000, "md", "Novo Jovem", 29, 40, "-", para, 0);
    EXPECT_EQ(linha("SELECT v.contrato, j.contrato FROM jogadores v, jogadores j WHERE v.nome = 'Novo Velho' AND j.nome = 'Novo Jovem'"), "1|4");
    EXPECT_EQ(contar("SELECT count(*) FROM transferencias_clubes WHERE tipo = ?", {"(0) - -> " + para + " (1)"}), 2);
}

} // namespace
} // namespace gv
